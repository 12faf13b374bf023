// The quiet user-interface service of the POSIX build: there is no window. Message boxes are
// written to standard error and answered with their default (first) button, timers fire while
// the program waits for messages, and browsers start through the machine's process service.
#include "platform/Ui.h"
#include "platform/System.h"
#include "platform/WebAddress.h"
#include "platform/posix/Fold.h"
#include "platform/posix/Machine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

const char* answerName(MessageAnswer answer) {
  switch (answer) {
  case MessageAnswer::Ok:
    return "OK";
  case MessageAnswer::Yes:
    return "Yes";
  case MessageAnswer::No:
    return "No";
  }
  return "?";
}

class PosixQuietUi final : public UiService {
public:
  void processMessages() override { fireDueTimers(); }

  void waitForMessage(std::uint32_t timeoutMs) override {
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const auto& entry : timers_) until = std::min(until, entry.second.due);
    std::this_thread::sleep_until(until);
    fireDueTimers();
  }

  MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon,
                           MessageButtons buttons) override {
    const MessageAnswer answer =
        buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    std::fprintf(stderr, "%s: %s [%s]\n", title.c_str(), text.c_str(), answerName(answer));
    return answer;
  }

  void setCursor(Cursor) override {}

  void endProgram(int code) override {
    std::fflush(nullptr);
    std::_Exit(code);
  }

  void openWebAddress(const std::string& address) override { openWebAddressDefault(address); }

  void startTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override {
    timers_[id] =
        Timer{intervalMs, Clock::now() + std::chrono::milliseconds(intervalMs), std::move(onTick)};
  }

  void stopTimer(int id) override { timers_.erase(id); }

  std::vector<std::string> programsMenuFolders() override {
    std::vector<std::string> names;
    const std::string folder = shellFolder(csidl::Programs);
    if (folder.empty()) return names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(posix::Machine::ready().hostPath(folder), error)) {
      if (entry.is_directory(error)) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end(), posix::LessNoCase());
    return names;
  }

private:
  struct Timer {
    std::uint32_t interval;
    Clock::time_point due;
    std::function<void()> onTick;
  };

  // A tick may start or stop timers (and usually ends the program), so each due timer is looked
  // up again before it runs and its callback runs from a copy.
  void fireDueTimers() {
    std::vector<int> due;
    const Clock::time_point now = Clock::now();
    for (const auto& [id, timer] : timers_)
      if (timer.due <= now) due.push_back(id);
    for (int id : due) {
      auto it = timers_.find(id);
      if (it == timers_.end()) continue;
      it->second.due = now + std::chrono::milliseconds(it->second.interval);
      std::function<void()> tick = it->second.onTick;
      if (tick) tick();
    }
  }

  std::map<int, Timer> timers_;
};

} // namespace

UiService& quietUi() {
  static PosixQuietUi service;
  return service;
}

} // namespace platform
