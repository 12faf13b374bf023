// Finish on the emulated machine: the program started from its folder with its path quoted, a
// screen saver made the user's own with the display settings opened, and a working folder that
// cannot be entered.
#include "engine/FinishActions.h"
#include "engine/Errors.h"
#include "platform/Files.h"
#include "platform/posix/ProcessLog.h"
#include "unit/engine/EngineMachine.h"

#include <string>
#include <vector>

namespace {

using engine_test::registry;
using platform::posix::readProcessLog;
using Record = std::vector<std::string>;

const std::string kApp = "C:\\Program Files\\Example Co\\Example";
const Record kDisplaySettings = {"ShellExecute",
                                 "open",
                                 "rundll32.exe",
                                 "shell32.dll,Control_RunDLL Desk.cpl,@0,1",
                                 "c:\\windows\\system32\\",
                                 "1",
                                 "recorded"};

class FinishActions : public EngineMachine {
protected:
  void SetUp() override {
    scratch_.writeFile(kApp + "\\example.exe", "program");
    scratch_.writeFile(kApp + "\\bin\\tool.exe", "program");
    // What an unquoted command line would find first.
    scratch_.writeFile("C:\\Program.exe", "another program");
    scratch_.writeFile("C:\\Windows\\System32\\rundll32.exe", "system program");
  }
  std::optional<std::string> screenSaver() {
    return registry().readString(platform::RegRoot::CurrentUser, "Control Panel\\Desktop",
                                 "SCRNSAVE.EXE");
  }
};

struct StartCase {
  const char* tasks;
  const char* folder; // made current before the start
  const char* outcome;
};

TEST_F(FinishActions, StartsTheProgramQuotedFromItsFolder) {
  const StartCase cases[] = {
      {"C:\\Program Files\\Example Co\\Example\\\\example.exe",
       "C:\\Program Files\\Example Co\\Example", "recorded"},
      // A target in a subfolder starts from the folder above it.
      {"C:\\Program Files\\Example Co\\Example\\bin\\tool.exe",
       "C:\\Program Files\\Example Co\\Example", "recorded"},
      // A program that is not there: unquoted, C:\Program.exe would have started instead.
      {"C:\\Program Files\\Example Co\\Example\\\\missing.exe",
       "C:\\Program Files\\Example Co\\Example", "not-found"},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.tasks);
    form_.Tasks.Caption = c.tasks;
    const std::size_t before = readProcessLog().size();
    engine::RunFinishActions(form_);
    const auto log = readProcessLog();
    ASSERT_EQ(log.size(), before + 1);
    EXPECT_EQ(log.back(),
              (Record{"WinExec", std::string("\"") + c.tasks + "\"", "1", c.folder, c.outcome}));
    EXPECT_EQ(platform::currentDirectory(), c.folder);
    ASSERT_TRUE(platform::setCurrentDirectory("C:\\"));
  }
  EXPECT_EQ(screenSaver(), std::nullopt);
}

TEST_F(FinishActions, AWorkingFolderThatCannotBeEnteredStartsNothing) {
  ASSERT_TRUE(platform::setCurrentDirectory("C:\\Windows"));
  for (const char* tasks : {"C:\\Gone\\App\\\\app.exe", "Tasks"}) {
    SCOPED_TRACE(tasks);
    form_.Tasks.Caption = tasks;
    EXPECT_THROW(engine::RunFinishActions(form_), engine::EInOutError);
    EXPECT_TRUE(readProcessLog().empty());
    EXPECT_EQ(platform::currentDirectory(), "C:\\Windows");
  }
}

TEST_F(FinishActions, AScreenSaverBecomesTheUsersOwnAndTheDisplaySettingsOpen) {
  scratch_.writeFile("C:\\Windows\\System32\\nightsky.scr", "saver");
  struct SaverCase {
    const char* tasks;
    const char* value; // the system's short path; this machine keeps no 8.3 names
  } cases[] = {
      {"c:\\windows\\system32\\\\\\nightsky.scr", "c:\\windows\\system32\\\\\\nightsky.scr"},
      {"C:\\WINDOWS\\SYSTEM32\\\\\\NIGHTSKY.SCR", "C:\\WINDOWS\\SYSTEM32\\\\\\NIGHTSKY.SCR"},
      // A file that is not there keeps its long path; no made-up "~1" name.
      {"C:\\Savers\\\\a.scr", "C:\\Savers\\\\a.scr"},
  };
  for (const SaverCase& c : cases) {
    SCOPED_TRACE(c.tasks);
    form_.Tasks.Caption = c.tasks;
    const std::size_t before = readProcessLog().size();
    engine::RunFinishActions(form_);
    EXPECT_EQ(screenSaver(), c.value);
    const auto log = readProcessLog();
    ASSERT_EQ(log.size(), before + 1); // no WinExec: the saver itself is not started
    EXPECT_EQ(log.back(), kDisplaySettings);
  }
}

} // namespace
