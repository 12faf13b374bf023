// The page flow as walks through both wizards: after each action the page, the states of Next
// and Back, the questions asked and the runs reached.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/Installer.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;
using platform::MessageAnswer;
using testing_ui::ProgramEnded;

enum class Action { Next, NextYes, NextNo, Back, Tick, Untick };

struct After {
  int page;
  bool nextEnabled;
  const char* nextCaption;
  bool backEnabled;
  int questions; // folder questions asked so far
  int installations;
  int uninstallations;
};

struct Move {
  Action action;
  After after;
};

struct Walk {
  const char* name;
  bool uninstallMode;
  bool groups;       // the script has component groups
  bool folderExists; // the installation folder exists
  const char* feedback;
  std::vector<Move> moves;
};

const char* actionName(Action action) {
  switch (action) {
  case Action::Next:
    return "Next";
  case Action::NextYes:
    return "Next, Yes";
  case Action::NextNo:
    return "Next, No";
  case Action::Back:
    return "Back";
  case Action::Tick:
    return "tick the agreement";
  case Action::Untick:
    return "untick the agreement";
  }
  return "?";
}

class PageFlow : public testing::Test {
protected:
  void prepare(const Walk& walk) {
    form.DirectoryEdit1.Text =
        walk.folderExists ? scratch.folder() : scratch.folder() + "\\Not There\\App";
    form.CheckBox2.Visible = walk.groups;
    form.Label37.Caption = walk.feedback;
    // The runs as the engine will end them: Next enabled, Cancel disabled, the final page.
    form.RunInstallation = [this] { endRun(installations); };
    form.RunUninstall = [this] { endRun(uninstallations); };
    if (walk.uninstallMode) form.Notebook1.SetPageIndex(app::page::UnWelcome);
  }

  void endRun(int& count) {
    ++count;
    EXPECT_FALSE(form.Button2.Enabled) << "a run starts with Next disabled";
    EXPECT_FALSE(form.Button3.Enabled) << "a run starts with Back disabled";
    form.Button2.Enabled = true;
    form.Button1.Enabled = false;
    form.Notebook1.SetPageIndex(form.Notebook1.PageIndex() + 1);
  }

  void act(Action action) {
    switch (action) {
    case Action::Next:
      form.Button2Click();
      break;
    case Action::NextYes:
      ui.answers.push_back(MessageAnswer::Yes);
      form.Button2Click();
      break;
    case Action::NextNo:
      ui.answers.push_back(MessageAnswer::No);
      form.Button2Click();
      break;
    case Action::Back:
      form.Button3Click();
      break;
    case Action::Tick:
    case Action::Untick:
      form.CheckBox1.Checked = action == Action::Tick;
      form.CheckBox1Click();
      break;
    }
  }

  void run(const Walk& walk) {
    prepare(walk);
    int step = 0;
    for (const Move& move : walk.moves) {
      SCOPED_TRACE(testing::Message()
                   << walk.name << ", step " << ++step << ": " << actionName(move.action));
      act(move.action);
      EXPECT_EQ(form.Notebook1.PageIndex(), move.after.page);
      EXPECT_EQ(form.Button2.Enabled, move.after.nextEnabled);
      EXPECT_EQ(form.Button2.Caption, move.after.nextCaption);
      EXPECT_EQ(form.Button3.Enabled, move.after.backEnabled);
      EXPECT_EQ(static_cast<int>(ui.boxes.size()), move.after.questions);
      EXPECT_EQ(installations, move.after.installations);
      EXPECT_EQ(uninstallations, move.after.uninstallations);
    }
    EXPECT_TRUE(ui.exitCodes.empty());
  }

  testing_ui::Scratch scratch;
  testing_ui::ScriptedUi ui;
  TForm1 form;
  int installations{0};
  int uninstallations{0};
};

TEST_F(PageFlow, InstallWithGroupsAndAnExistingFolder) {
  run({"install",
       false,
       true,
       true,
       "None",
       {
           {Action::Next, {1, false, "Next", true, 0, 0, 0}},
           {Action::Back, {0, true, "Next", false, 0, 0, 0}},
           {Action::Next, {1, false, "Next", true, 0, 0, 0}},
           {Action::Tick, {1, true, "Next", true, 0, 0, 0}},
           {Action::Untick, {1, false, "Next", true, 0, 0, 0}},
           {Action::Tick, {1, true, "Next", true, 0, 0, 0}},
           {Action::Back, {0, true, "Next", false, 0, 0, 0}},
           {Action::Next, {1, true, "Next", true, 0, 0, 0}},
           {Action::Next, {2, true, "Next", true, 0, 0, 0}},
           {Action::Back, {1, true, "Next", true, 0, 0, 0}},
           {Action::Next, {2, true, "Next", true, 0, 0, 0}},
           {Action::Next, {3, true, "Next", true, 0, 0, 0}},
           {Action::Back, {2, true, "Next", true, 0, 0, 0}},
           {Action::Next, {3, true, "Next", true, 0, 0, 0}},
           {Action::Next, {4, true, "Next", true, 0, 0, 0}},
           {Action::Back, {3, true, "Next", true, 0, 0, 0}},
           {Action::Next, {4, true, "Next", true, 0, 0, 0}},
           {Action::Next, {5, true, "Next", true, 0, 0, 0}},
           {Action::Back, {4, true, "Next", true, 0, 0, 0}},
           {Action::Next, {5, true, "Next", true, 0, 0, 0}},
           {Action::Next, {7, true, "Finish", false, 0, 1, 0}},
       }});
}

TEST_F(PageFlow, InstallWithoutGroupsSkipsTheTypePageBothWays) {
  run({"no groups",
       false,
       false,
       true,
       "None",
       {
           {Action::Next, {1, false, "Next", true, 0, 0, 0}},
           {Action::Tick, {1, true, "Next", true, 0, 0, 0}},
           {Action::Next, {2, true, "Next", true, 0, 0, 0}},
           {Action::Next, {4, true, "Next", true, 0, 0, 0}},
           {Action::Back, {2, true, "Next", true, 0, 0, 0}},
           {Action::Next, {4, true, "Next", true, 0, 0, 0}},
           {Action::Next, {5, true, "Next", true, 0, 0, 0}},
           {Action::Back, {4, true, "Next", true, 0, 0, 0}},
       }});
}

TEST_F(PageFlow, AMissingFolderIsQuestionedAtEveryNextFromTheLocationPage) {
  run({"missing folder",
       false,
       true,
       false,
       "None",
       {
           {Action::Next, {1, false, "Next", true, 0, 0, 0}},
           {Action::Tick, {1, true, "Next", true, 0, 0, 0}},
           {Action::Next, {2, true, "Next", true, 0, 0, 0}},
           {Action::NextNo, {2, true, "Next", true, 1, 0, 0}},
           {Action::NextNo, {2, true, "Next", true, 2, 0, 0}},
           {Action::NextYes, {3, true, "Next", true, 3, 0, 0}},
           {Action::Back, {2, true, "Next", true, 3, 0, 0}},
           {Action::NextYes, {3, true, "Next", true, 4, 0, 0}},
           {Action::Next, {4, true, "Next", true, 4, 0, 0}},
       }});
  EXPECT_FALSE(std::filesystem::exists(scratch.hostPath(form.DirectoryEdit1.Text)))
      << "the question creates nothing";
  for (const testing_ui::AskedBox& box : ui.boxes) {
    EXPECT_EQ(box.text, "This folder does not currently exist, ok to create it?");
    EXPECT_EQ(box.title, "Confirm");
    EXPECT_EQ(box.buttons, platform::MessageButtons::YesNo);
  }
}

TEST_F(PageFlow, UninstallWithFeedbackOff) {
  run({"feedback off",
       true,
       true,
       true,
       "None",
       {
           {Action::Next, {11, true, "Finish", false, 0, 0, 1}},
       }});
}

TEST_F(PageFlow, UninstallWithFeedbackShowsTheFeedbackPageFirst) {
  run({"feedback on",
       true,
       false,
       true,
       "www.example.test",
       {
           {Action::Next, {9, true, "Next", false, 0, 0, 0}},
           {Action::Next, {11, true, "Finish", false, 0, 0, 1}},
       }});
}

TEST_F(PageFlow, WhileARunIsMissingItsPageKeepsNextAndBackDisabled) {
  prepare({"", false, true, true, "None", {}});
  form.RunInstallation = nullptr; // the engine has not filled the run in
  form.Notebook1.SetPageIndex(app::page::Summary);
  form.Button2Click();
  EXPECT_EQ(form.Notebook1.PageIndex(), app::page::Install);
  EXPECT_FALSE(form.Button2.Enabled);
  EXPECT_FALSE(form.Button3.Enabled);
  EXPECT_EQ(form.Label24.Caption, "x") << "nothing pretends the run happened";
  EXPECT_EQ(installations, 0);
}

TEST_F(PageFlow, TheUninstallPagesNeverEnableBack) {
  prepare({"", true, true, true, "x", {}});
  for (int p : {8, 9, 10, 11}) {
    form.Notebook1.SetPageIndex(p);
    EXPECT_FALSE(form.Button3.Enabled) << "page " << p;
  }
  for (int p : {1, 2, 3, 4, 5}) {
    form.Notebook1.SetPageIndex(p);
    EXPECT_TRUE(form.Button3.Enabled) << "page " << p;
  }
}

struct FinishCase {
  const char* name;
  int page;
  bool runApplication;
  bool finishActionsFail;
  int finishActions;
  bool ends;
};

TEST_F(PageFlow, FinishRunsTheFinishActionsOnlyFromTheFinishedPageWhenTicked) {
  const FinishCase cases[] = {
      {"ticked", app::page::Finished, true, false, 1, true},
      {"unticked", app::page::Finished, false, false, 0, true},
      {"finish actions fail", app::page::Finished, true, true, 1, false},
      {"uninstall finish", app::page::UnFinished, true, false, 0, true},
  };
  for (const FinishCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_ui::ScriptedUi caseUi;
    TForm1 finished;
    int finishActions = 0;
    finished.RunFinishActions = [&] {
      ++finishActions;
      if (c.finishActionsFail) throw std::runtime_error("The system cannot find the path");
    };
    finished.Notebook1.SetPageIndex(c.page);
    EXPECT_EQ(finished.Button2.Caption, "Finish");
    finished.CheckBox6.Checked = c.runApplication;
    bool ended = false;
    try {
      finished.Button2Click();
    } catch (const ProgramEnded& end) {
      ended = true;
      EXPECT_EQ(end.code, 0);
    } catch (const std::runtime_error&) {
      // reported at the event boundary; the program stays on the Finished page
    }
    EXPECT_EQ(finishActions, c.finishActions);
    EXPECT_EQ(ended, c.ends);
    EXPECT_EQ(finished.Notebook1.PageIndex(), c.page);
  }
}

TEST_F(PageFlow, FinishIsToldByTheCaptionNotThePage) {
  prepare({"", false, true, true, "None", {}});
  int finishActions = 0;
  form.RunFinishActions = [&] { ++finishActions; };
  form.Notebook1.SetPageIndex(app::page::Type);
  form.Button2.Caption = "Finish";
  EXPECT_THROW(form.Button2Click(), ProgramEnded);
  EXPECT_EQ(finishActions, 0) << "the finish actions belong to the Finished page";
}

} // namespace
