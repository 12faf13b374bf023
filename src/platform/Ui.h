// The user-interface service: what the core asks of the window system. The native window
// installs its own; tests and silent runs install scripted ones.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Mouse pointers the program shows.
enum class Cursor { Default, HourGlass, HandPoint };

class UiService;

// The platform's own service when no other is installed: on Windows it shows real message boxes
// and pumps this thread's messages; on POSIX there is no window (see posix/Ui.cpp).
UiService& quietUi();

// Every operation a service does not provide itself is done the quiet service's way, so a
// service that scripts only the message pump (a test of a wait) still behaves sensibly.
class UiService {
public:
  virtual ~UiService() = default;

  // Lets the window system handle every message that is waiting, then returns.
  virtual void processMessages() = 0;

  // Blocks until a message arrives or `timeoutMs` has passed, whichever is first.
  virtual void waitForMessage(std::uint32_t timeoutMs) = 0;

  // A modal message box; returns the button the user pressed.
  virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                   MessageIcon icon, MessageButtons buttons) {
    return quietUi().messageBox(text, title, icon, buttons);
  }

  // The pointer shown over the main window.
  virtual void setCursor(Cursor cursor) { quietUi().setCursor(cursor); }

  // Ends the program with `code`, at once: no clean-up, no roll-back. A service may instead
  // throw (a test stops the handler there); returning is not allowed, and exitProgram() below
  // ends the process itself if a service ever does.
  virtual void endProgram(int code) { quietUi().endProgram(code); }

  // Opens a web address: with the fixed browser "c:\program files\internet explorer\iexplore.exe"
  // when that file exists, otherwise the system's own way. Whether it starts is not reported.
  virtual void openWebAddress(const std::string& address) { quietUi().openWebAddress(address); }

  // Timer `id` of the main window: `onTick` runs from the message loop (never inside this call)
  // every `intervalMs` milliseconds until stopTimer(id). Starting a running timer restarts it.
  virtual void startTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) {
    quietUi().startTimer(id, intervalMs, std::move(onTick));
  }
  virtual void stopTimer(int id) { quietUi().stopTimer(id); }

  // The names of the folders inside the current user's Start-menu Programs folder, as the shell
  // shows them, sorted by name; empty when that folder cannot be found.
  virtual std::vector<std::string> programsMenuFolders() { return quietUi().programsMenuFolders(); }
};

// The service in use. Until one is installed, the quiet service is used.
UiService& ui();

// Installs `service` (not owned; nullptr restores the quiet one) and returns the one before.
UiService* setUi(UiService* service);

// Ends the program with `code` through the service in use; never returns.
[[noreturn]] inline void exitProgram(int code) {
  ui().endProgram(code);
  std::fflush(nullptr);
  std::_Exit(code);
}

} // namespace platform
