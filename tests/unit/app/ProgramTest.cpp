// The program entry: application title, the main window, the host's message loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Program.h"
#include "unit/app/ScriptedUi.h"

namespace {

using testing_ui::ProgramEnded;
using testing_ui::ScriptedUi;

struct RecordingHost : app::WindowHost {
  std::vector<std::string> calls;
  std::string titleAtRun;
  std::vector<std::string> folderNames;
  bool runsBound{false};
  std::function<void(app::TForm1&)> during;

  void Initialize(app::TApplication& application) override {
    calls.push_back("Initialize");
    EXPECT_EQ(application.MainForm, nullptr);
  }
  void Run(app::TApplication& application) override {
    calls.push_back("Run");
    titleAtRun = application.Title;
    ASSERT_NE(application.MainForm, nullptr);
    for (const auto& item : application.MainForm->dirlist1.Items)
      folderNames.push_back(item.DisplayName);
    runsBound = static_cast<bool>(application.MainForm->RunInstallation);
    if (during) during(*application.MainForm);
  }
};

const char* const kArguments[] = {"setup.exe"};

TEST(ProgramEntry, TitlesTheApplicationCreatesTheWindowAndRunsIt) {
  ScriptedUi ui;
  ui.folders = {"Accessories", "Games"};
  RecordingHost host;
  int installations = 0;
  const int code = app::ProgramEntry(1, kArguments, host, [&](app::TForm1& form) {
    form.RunInstallation = [&installations] { ++installations; };
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Initialize", "Run"}));
  EXPECT_EQ(host.titleAtRun, "Setup");
  EXPECT_EQ(host.folderNames, (std::vector<std::string>{"Accessories", "Games"}));
  EXPECT_TRUE(host.runsBound);
  EXPECT_EQ(installations, 0) << "binding a run must not start it";
}

TEST(ProgramEntry, AnEndOfTheProgramInsideTheLoopIsNotCaught) {
  ScriptedUi ui;
  RecordingHost host;
  host.during = [&ui](app::TForm1& form) {
    form.Timer2.SetEnabled(true);
    ui.runTimers();
  };
  EXPECT_THROW(app::ProgramEntry(1, kArguments, host), ProgramEnded);
  EXPECT_EQ(ui.exitCodes, std::vector<int>{0});
}

} // namespace
