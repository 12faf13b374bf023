// The window's own handlers: Cancel on every page, the link label, the exit timer, destruction.
#include <gtest/gtest.h>

#include "app/Installer.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;
using platform::MessageAnswer;
using testing_ui::ProgramEnded;
using testing_ui::ScriptedUi;

struct CancelCase {
  int page;
  bool asks;
  MessageAnswer answer; // when asked
  bool ends;
};

TEST(Cancel, AsksOnInstallPagesEndsOnUninstallPagesIgnoresFinished) {
  const CancelCase cases[] = {
      {0, true, MessageAnswer::No, false},  {0, true, MessageAnswer::Yes, true},
      {1, true, MessageAnswer::No, false},  {2, true, MessageAnswer::Yes, true},
      {5, true, MessageAnswer::No, false},  {6, true, MessageAnswer::Yes, true},
      {6, true, MessageAnswer::No, false},  {7, false, MessageAnswer::Ok, false},
      {8, false, MessageAnswer::Ok, true},  {9, false, MessageAnswer::Ok, true},
      {10, false, MessageAnswer::Ok, true}, {11, false, MessageAnswer::Ok, true},
  };
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "page " << c.page);
    ScriptedUi ui;
    TForm1 form;
    form.Notebook1.SetPageIndex(c.page);
    if (c.asks) ui.answers.push_back(c.answer);
    bool ended = false;
    try {
      form.Button1Click();
    } catch (const ProgramEnded& end) {
      ended = true;
      EXPECT_EQ(end.code, 0);
    }
    EXPECT_EQ(ended, c.ends);
    EXPECT_GE(ui.processed, 1) << "pending messages are handled first";
    ASSERT_EQ(ui.boxes.size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(ui.boxes[0].text, "Are you sure you wish to cancel this setup?");
      EXPECT_EQ(ui.boxes[0].title, "Confirm");
      EXPECT_EQ(ui.boxes[0].icon, platform::MessageIcon::Question);
      EXPECT_EQ(ui.boxes[0].buttons, platform::MessageButtons::YesNo);
    }
    EXPECT_EQ(form.Notebook1.PageIndex(), c.page);
  }
}

TEST(LinkLabel, HoverShowsTheHandAndAClickOpensTheShownAddress) {
  ScriptedUi ui;
  TForm1 form;
  EXPECT_EQ(form.RxLabel1.Cursor, platform::Cursor::Default);
  form.RxLabel1MouseMove();
  EXPECT_EQ(form.RxLabel1.Cursor, platform::Cursor::HandPoint);
  form.RxLabel1Click();
  ASSERT_EQ(ui.webAddresses.size(), 1u);
  EXPECT_EQ(ui.webAddresses[0], form.RxLabel1.Caption);
  EXPECT_FALSE(form.RxLabel1.Caption.empty());
}

TEST(ExitTimer, TicksFromTheLoopAfterTheHandlerAndEndsWithCodeZero) {
  ScriptedUi ui;
  TForm1 form;
  form.Timer2.SetEnabled(true);
  ASSERT_EQ(ui.timers.count(app::kTimer2Id), 1u);
  EXPECT_EQ(ui.timers[app::kTimer2Id].interval, 1u);
  EXPECT_TRUE(ui.exitCodes.empty()) << "enabling the timer must not end anything yet";
  EXPECT_THROW(ui.runTimers(), ProgramEnded);
  EXPECT_EQ(ui.exitCodes, std::vector<int>{0});
}

TEST(ExitTimer, ADisabledTimerNoLongerRuns) {
  ScriptedUi ui;
  TForm1 form;
  form.Timer2.SetEnabled(true);
  form.Timer2.SetEnabled(false);
  EXPECT_TRUE(ui.timers.empty());
  EXPECT_NO_THROW(ui.runTimers());
}

TEST(FormDestroy, FreesThePageSourceFetcher) {
  struct Fetcher : app::TComponent {
    explicit Fetcher(bool& gone) : gone_(gone) {}
    ~Fetcher() override { gone_ = true; }
    bool& gone_;
  };
  ScriptedUi ui;
  bool gone = false;
  {
    TForm1 form;
    form.bSource1 = std::make_unique<Fetcher>(gone);
    form.FormDestroy();
    EXPECT_TRUE(gone);
    EXPECT_EQ(form.bSource1, nullptr);
  }
}

TEST(FormCursor, IsKeptAndShownAtOnce) {
  ScriptedUi ui;
  TForm1 form;
  form.SetCursor(platform::Cursor::HourGlass);
  EXPECT_EQ(form.Cursor, platform::Cursor::HourGlass);
  EXPECT_EQ(ui.cursors, std::vector<platform::Cursor>{platform::Cursor::HourGlass});
}

} // namespace
