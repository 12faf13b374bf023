// The Folder page's list of program folders and the Summary page's values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Installer.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;

TEST(ProgramFolderList, ShowsTheUsersProgramFoldersAndAClickTakesTheSelectedName) {
  testing_ui::ScriptedUi ui;
  ui.folders = {"Accessories", "Games", "Tools"};
  TForm1 form;
  form.FillProgramFolders();
  ASSERT_EQ(form.dirlist1.Items.size(), 3u);
  EXPECT_EQ(form.dirlist1.Items[1].DisplayName, "Games");

  form.Edit1.Text = "Typed Name";
  form.dirlist1Click(); // on empty space: nothing selected
  EXPECT_EQ(form.Edit1.Text, "Typed Name");

  form.dirlist1.Items[1].Selected = true;
  form.dirlist1Click();
  EXPECT_EQ(form.Edit1.Text, "Games");

  form.Edit1.Text = "Typed Later"; // the list is not consulted again
  EXPECT_EQ(form.Edit1.Text, "Typed Later");
  form.FillSummary();
  EXPECT_EQ(form.Label21.Caption, "Typed Later");
}

struct SummaryCase {
  const char* name;
  int radio; // 1 Full, 2 Minimal, 3 Custom
  bool desktop;
  const char* type;
  const char* shortcut;
};

TEST(Summary, ShowsTheChoicesOfTheMoment) {
  const SummaryCase cases[] = {
      {"defaults", 1, true, "Full Installation", "Yes"},
      {"minimal, no desktop shortcut", 2, false, "Minimal Installation", "No"},
      {"custom", 3, true, "Custom Installation", "Yes"},
  };
  for (const SummaryCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_ui::ScriptedUi ui;
    TForm1 form;
    form.DirectoryEdit1.Text = "C:\\Apps\\Tool";
    form.Edit1.Text = "Tool Folder";
    form.RadioButton1.Checked = c.radio == 1;
    form.RadioButton2.Checked = c.radio == 2;
    form.RadioButton3.Checked = c.radio == 3;
    form.CheckBox9.Checked = c.desktop;
    form.FillSummary();
    EXPECT_EQ(form.Label11.Caption, "C:\\Apps\\Tool");
    EXPECT_EQ(form.Label20.Caption, c.type);
    EXPECT_EQ(form.Label21.Caption, "Tool Folder");
    EXPECT_EQ(form.Label22.Caption, c.shortcut);
  }
}

TEST(Summary, IsFilledWhenNextReachesItAndRefilledAfterBack) {
  testing_ui::ScriptedUi ui;
  testing_ui::Scratch scratch;
  TForm1 form;
  form.DirectoryEdit1.Text = scratch.folder();
  // No groups: the Type page is skipped and nothing was changed.
  form.Notebook1.SetPageIndex(app::page::Location);
  form.Button2Click();
  ASSERT_EQ(form.Notebook1.PageIndex(), app::page::Folder);
  EXPECT_EQ(form.Label20.Caption, "x") << "not filled before the page is reached";
  form.Button2Click();
  ASSERT_EQ(form.Notebook1.PageIndex(), app::page::Summary);
  EXPECT_EQ(form.Label11.Caption, scratch.folder());
  EXPECT_EQ(form.Label20.Caption, "Full Installation");
  EXPECT_EQ(form.Label21.Caption, "Tallowick");
  EXPECT_EQ(form.Label22.Caption, "Yes");

  form.Button3Click();
  form.CheckBox9.Checked = false;
  form.Edit1.Text = "Other";
  EXPECT_EQ(form.Label22.Caption, "Yes");
  form.Button2Click();
  EXPECT_EQ(form.Label21.Caption, "Other");
  EXPECT_EQ(form.Label22.Caption, "No");
}

} // namespace
