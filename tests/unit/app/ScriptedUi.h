// A user-interface service for tests: answers message boxes from a script, records everything
// the program asks of the window system, and turns the end of the program into an exception.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace testing_ui {

// Thrown where the program would end; carries the exit code.
struct ProgramEnded {
  int code;
};

struct AskedBox {
  std::string text;
  std::string title;
  platform::MessageIcon icon;
  platform::MessageButtons buttons;
};

// Installs itself for its lifetime. A box with the single button OK is answered OK; a question
// that the script has no answer for fails the test.
class ScriptedUi final : public platform::UiService {
public:
  ScriptedUi() : previous_(platform::setUi(this)) {}
  ~ScriptedUi() override { platform::setUi(previous_); }
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  // --- The script.
  std::deque<platform::MessageAnswer> answers;
  std::vector<std::string> folders;

  // --- What was asked.
  std::vector<AskedBox> boxes;
  std::vector<platform::Cursor> cursors;
  std::vector<std::string> webAddresses;
  std::vector<int> exitCodes;
  int processed{0};

  struct Timer {
    std::uint32_t interval;
    std::function<void()> onTick;
  };
  std::map<int, Timer> timers;

  void processMessages() override { ++processed; }
  void waitForMessage(std::uint32_t) override { ++processed; }

  platform::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     platform::MessageIcon icon,
                                     platform::MessageButtons buttons) override {
    boxes.push_back(AskedBox{text, title, icon, buttons});
    if (buttons == platform::MessageButtons::Ok) return platform::MessageAnswer::Ok;
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << title << ": " << text;
      return platform::MessageAnswer::No;
    }
    platform::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  void setCursor(platform::Cursor cursor) override { cursors.push_back(cursor); }

  void endProgram(int code) override {
    exitCodes.push_back(code);
    throw ProgramEnded{code};
  }

  void openWebAddress(const std::string& address) override { webAddresses.push_back(address); }

  void startTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override {
    timers[id] = Timer{intervalMs, std::move(onTick)};
  }
  void stopTimer(int id) override { timers.erase(id); }

  std::vector<std::string> programsMenuFolders() override { return folders; }

  // The message loop after the handler has returned: every running timer ticks once.
  void runTimers() {
    std::vector<int> ids;
    for (const auto& entry : timers) ids.push_back(entry.first);
    for (int id : ids) {
      auto it = timers.find(id);
      if (it == timers.end()) continue;
      std::function<void()> tick = it->second.onTick;
      tick();
    }
  }

private:
  platform::UiService* previous_;
};

} // namespace testing_ui
