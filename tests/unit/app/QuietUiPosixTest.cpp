// The POSIX build's quiet user-interface service and command line, on a fresh emulated machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/System.h"
#include "platform/Ui.h"
#include "platform/posix/Machine.h"
#include "platform/posix/ProcessLog.h"
#include "unit/app/Scratch.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::posix::Machine;

TEST(QuietUi, MessageBoxesGoToStandardErrorAndTakeTheDefaultButton) {
  platform::UiService& quiet = platform::quietUi();
  testing::internal::CaptureStderr();
  EXPECT_EQ(quiet.messageBox("Error in locating Setup components!", "Error", MessageIcon::Error,
                             MessageButtons::Ok),
            MessageAnswer::Ok);
  EXPECT_EQ(
      quiet.messageBox("Are you sure?", "Confirm", MessageIcon::Question, MessageButtons::YesNo),
      MessageAnswer::Yes);
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Error: Error in locating Setup components!"), std::string::npos);
  EXPECT_NE(shown.find("Confirm: Are you sure?"), std::string::npos);
}

TEST(QuietUi, TimersTickOnlyFromTheMessageLoop) {
  platform::UiService& quiet = platform::quietUi();
  int ticks = 0;
  quiet.startTimer(7, 1, [&ticks] { ++ticks; });
  EXPECT_EQ(ticks, 0) << "starting a timer does not tick it";
  // Waiting for messages returns by the timer's tick at the latest, and the tick runs there.
  quiet.waitForMessage(60000);
  EXPECT_EQ(ticks, 1);
  quiet.stopTimer(7);
  quiet.waitForMessage(5);
  quiet.processMessages();
  EXPECT_EQ(ticks, 1);
}

TEST(QuietUi, ATimerThatStopsItselfTicksOnce) {
  platform::UiService& quiet = platform::quietUi();
  int ticks = 0;
  quiet.startTimer(8, 1, [&] {
    ++ticks;
    quiet.stopTimer(8);
  });
  quiet.waitForMessage(60000);
  quiet.waitForMessage(5);
  EXPECT_EQ(ticks, 1);
}

TEST(QuietUi, ProgramFoldersAreTheSubfoldersOfTheStartMenuProgramsFolder) {
  testing_ui::Scratch scratch;
  const std::string programs = "C:\\Users\\Someone\\Start Menu\\Programs";
  Machine::instance().setShellFolder(platform::csidl::Programs, programs);
  EXPECT_TRUE(platform::quietUi().programsMenuFolders().empty()) << "no such folder yet";
  scratch.makeFolder(programs + "\\Zeta");
  scratch.makeFolder(programs + "\\alpha");
  scratch.makeFolder(programs + "\\Beta Tools");
  scratch.writeFile(programs + "\\readme.lnk", "not a folder");
  EXPECT_EQ(platform::quietUi().programsMenuFolders(),
            (std::vector<std::string>{"alpha", "Beta Tools", "Zeta"}));
  Machine::instance().setShellFoldersFail(true);
  EXPECT_TRUE(platform::quietUi().programsMenuFolders().empty());
}

TEST(QuietUi, WebAddressesOpenTheFixedBrowserWhereItExistsElseTheSystemWay) {
  testing_ui::Scratch scratch;
  platform::quietUi().openWebAddress("http://www.example.test/");
  scratch.writeFile("c:\\program files\\internet explorer\\iexplore.exe", "browser");
  platform::quietUi().openWebAddress("http://www.example.test/");
  const auto log = platform::posix::readProcessLog();
  ASSERT_EQ(log.size(), 2u);
  ASSERT_GE(log[0].size(), 3u);
  EXPECT_EQ(log[0][0], "ShellExecute");
  EXPECT_EQ(log[0][1], "open");
  EXPECT_EQ(log[0][2], "http://www.example.test/");
  ASSERT_GE(log[1].size(), 2u);
  EXPECT_EQ(log[1][0], "WinExec");
  // The browser's path is quoted: unquoted, the system would try "c:\program" first.
  EXPECT_EQ(log[1][1], "\"c:\\program files\\internet explorer\\iexplore.exe\" "
                       "http://www.example.test/");
}

TEST(QuietUiDeathTest, EndingTheProgramExitsWithTheCode) {
  EXPECT_EXIT(platform::quietUi().endProgram(3), testing::ExitedWithCode(3), "");
}

TEST(QuietUiDeathTest, AServiceThatReturnsFromEndProgramStillEndsTheProcess) {
  struct Careless : platform::UiService {
    void processMessages() override {}
    void waitForMessage(std::uint32_t) override {}
    void endProgram(int) override {}
  };
  EXPECT_EXIT(
      {
        Careless careless;
        platform::setUi(&careless);
        platform::exitProgram(5);
      },
      testing::ExitedWithCode(5), "");
}

TEST(CommandLinePosix, IsMainsArgumentsAfterTheProgramName) {
  const char* const argv[] = {"/x/setup.exe", "/uninstall:", "1,C:\\Program  Files\\A"};
  platform::storeMainArguments(3, argv);
  const platform::CommandLine line = platform::commandLine();
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"/uninstall:", "1,C:\\Program  Files\\A"}));
  EXPECT_FALSE(line.raw.has_value());
  platform::overrideCommandLine(platform::CommandLine{{"a"}, std::string("setup.exe a")});
  EXPECT_EQ(platform::commandLine().arguments, std::vector<std::string>{"a"});
  platform::overrideCommandLine(std::nullopt);
  EXPECT_EQ(platform::commandLine().arguments.size(), 2u);
  platform::storeMainArguments(1, argv);
}

} // namespace
