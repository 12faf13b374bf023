// The quiet user-interface service of the Windows build: pumps this thread's messages and shows
// real message boxes, thread timers, pointers and browsers, for a program without its own window.
#include "platform/Ui.h"
#include "platform/System.h"
#include "platform/WebAddress.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace platform {

namespace {

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool lessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(foldAscii(x)) < static_cast<unsigned char>(foldAscii(y));
  });
}

UINT iconFlag(MessageIcon icon) {
  switch (icon) {
  case MessageIcon::Error:
    return MB_ICONERROR;
  case MessageIcon::Warning:
    return MB_ICONWARNING;
  case MessageIcon::Information:
    return MB_ICONINFORMATION;
  case MessageIcon::Question:
    return MB_ICONQUESTION;
  case MessageIcon::None:
    break;
  }
  return 0;
}

// Thread timers: the system's timer number -> our callback. The callback runs when the message
// pump dispatches the timer's message, never inside startTimer.
struct TimerSlot {
  UINT_PTR systemId;
  std::function<void()> onTick;
};
std::map<int, TimerSlot>& timers() {
  static std::map<int, TimerSlot> slots;
  return slots;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR systemId, DWORD) {
  for (const auto& entry : timers()) {
    if (entry.second.systemId != systemId) continue;
    std::function<void()> tick = entry.second.onTick; // the tick may stop or restart timers
    if (tick) tick();
    return;
  }
}

class Win32QuietUi final : public UiService {
public:
  void processMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void waitForMessage(std::uint32_t timeoutMs) override {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
  }

  MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons) override {
    // The main window stays on top of other windows, so its boxes must as well.
    const UINT flags = iconFlag(icon) | (buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK) |
                       MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND;
    switch (MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), flags)) {
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    default:
      return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
  }

  void setCursor(Cursor cursor) override {
    LPCSTR shape = IDC_ARROW;
    if (cursor == Cursor::HourGlass) shape = IDC_WAIT;
    if (cursor == Cursor::HandPoint) shape = IDC_HAND;
    SetCursor(LoadCursorA(nullptr, shape));
  }

  void endProgram(int code) override {
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
  }

  void openWebAddress(const std::string& address) override { openWebAddressDefault(address); }

  void startTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override {
    stopTimer(id);
    const UINT_PTR systemId = SetTimer(nullptr, 0, intervalMs, onTimer);
    if (systemId != 0) timers()[id] = TimerSlot{systemId, std::move(onTick)};
  }

  void stopTimer(int id) override {
    auto it = timers().find(id);
    if (it == timers().end()) return;
    KillTimer(nullptr, it->second.systemId);
    timers().erase(it);
  }

  std::vector<std::string> programsMenuFolders() override {
    std::vector<std::string> names;
    const std::string folder = shellFolder(csidl::Programs);
    if (folder.empty()) return names;
    const std::string base = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..")
        continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
      // The name the shell shows (a localised one where the folder has it).
      SHFILEINFOA info{};
      if (SHGetFileInfoA((base + name).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) &&
          info.szDisplayName[0] != '\0')
        names.push_back(info.szDisplayName);
      else
        names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), lessNoCase);
    return names;
  }
};

} // namespace

UiService& quietUi() {
  static Win32QuietUi service;
  return service;
}

} // namespace platform
