// Reading setup.ini statements into the window: the example script line by line, then a table of
// the cases where order, case, blanks and section lines matter.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Installer.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;
using Items = std::vector<std::string>;

constexpr const char* kProgramFiles = "c:\\program files\\";
constexpr const char* kSystem = "c:\\windows\\system32\\";

// A window as start-up leaves it just before the statements: Program Files and the system
// folder already looked up.
struct Reading {
  explicit Reading(bool uninstallMode) {
    form.DirectoryEdit1.Text = kProgramFiles;
    form.SystemFolder = kSystem;
    state.uninstallMode = uninstallMode;
  }
  void read(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) form.ReadStatement(line, state);
    form.FinishScript(state);
  }
  testing_ui::ScriptedUi ui;
  TForm1 form;
  TForm1::ScriptReading state;
};

struct Step {
  const char* line;
  std::function<void(TForm1&, const TForm1::ScriptReading&)> check;
};

TEST(ScriptReading, TheExampleScriptLineByLine) {
  Reading r(false);
  const Step steps[] = {
      {"progname=Sample App",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.progName.Caption, "Sample App");
         EXPECT_EQ(f.Label1.Caption, "[none] Setup");
       }},
      {"company=Sample Co",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\program files\\Sample Co\\");
         EXPECT_EQ(f.Label39.Caption, "Sample Co");
       }},
      {"version=2.0",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.Label1.Caption, "Sample App v2.0 Setup");
         EXPECT_EQ(f.Label4.Caption, "Welcome to the Sample App setup program.");
         EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\program files\\Sample Co\\Sample App");
         EXPECT_EQ(f.Edit1.Text, "Sample App");
       }},
      {"[minimal]",
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 0);
         EXPECT_EQ(f.CheckBox2.Caption, "[None]");
       }},
      {"app=sample.exe",
       [](TForm1& f, auto&) { EXPECT_EQ(f.ListBox2.Items, Items{"3,sample.exe"}); }},
      {"file=readme.txt",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox2.Items, (Items{"3,sample.exe", "0,readme.txt"}));
       }},
      {"[Documentation]",
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 1);
         EXPECT_EQ(f.CheckBox2.Caption, "Documentation");
       }},
      {"file=*.txt,docs",
       [](TForm1& f, auto&) { EXPECT_EQ(f.ListBox3.Items, Items{"0,*.txt,docs"}); }},
      {"[Examples]",
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 2);
         EXPECT_EQ(f.CheckBox3.Caption, "Examples");
       }},
      {"file=*.cpp,examples",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox4.Items, Items{"0,*.cpp,examples"});
         EXPECT_EQ(f.ListBox3.Items, Items{"0,*.txt,docs"});
       }},
      {"[registry]", [](TForm1&, auto& s) { EXPECT_EQ(s.groups, 2); }},
      {"key=HKEY_LOCAL_MACHINE,Software\\Sample Co\\Sample App,Path,%INSTALLDIR%",
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox14.Items,
                   Items{"HKEY_LOCAL_MACHINE,Software\\Sample Co\\Sample App,Path,%INSTALLDIR%"});
         EXPECT_EQ(f.ListBox4.Items.size(), 1u);
       }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.line);
    r.form.ReadStatement(step.line, r.state);
    step.check(r.form, r.state);
  }
  r.form.FinishScript(r.state);
  EXPECT_TRUE(r.form.CheckBox2.Visible);
  EXPECT_TRUE(r.form.CheckBox3.Visible);
  EXPECT_FALSE(r.form.CheckBox4.Visible);
  EXPECT_TRUE(r.form.CheckBox2.Checked);
  EXPECT_FALSE(r.form.CheckBox2.Enabled) << "start-up leaves the boxes as they were";
  EXPECT_EQ(r.form.Label37.Caption, "None");
}

struct ScriptCase {
  const char* name;
  bool uninstallMode;
  std::vector<std::string> lines;
  std::function<void(TForm1&, const TForm1::ScriptReading&)> check;
};

TEST(ScriptReading, Cases) {
  const ScriptCase cases[] = {
      {"keys in any case",
       false,
       {"ProgName=Tool"},
       [](TForm1& f, auto&) { EXPECT_EQ(f.progName.Caption, "Tool"); }},
      {"upper-case keys",
       false,
       {"PROGNAME=Tool", "FILE=a.txt"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.progName.Caption, "Tool");
         EXPECT_EQ(f.ListBox2.Items, Items{"0,a.txt"});
       }},
      {"a blank before = makes another key",
       false,
       {"progname =Tool", "file =a.txt"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.progName.Caption, "ProgName");
         EXPECT_TRUE(f.ListBox2.Items.empty());
       }},
      {"a blank after = stays in the value",
       false,
       {"progname= Tool", "file= a.txt"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.progName.Caption, " Tool");
         EXPECT_EQ(f.ListBox2.Items, Items{"0, a.txt"});
       }},
      {"a later = stays in the value",
       false,
       {"file=a=b.txt"},
       [](TForm1& f, auto&) { EXPECT_EQ(f.ListBox2.Items, Items{"0,a=b.txt"}); }},
      {"the four entry types",
       false,
       {"file=f.txt", "startup=s.exe", "scr=v.scr", "app=a.exe,,Tool"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox2.Items, (Items{"0,f.txt", "1,s.exe", "2,v.scr", "3,a.exe,,Tool"}));
       }},
      {"unknown keys and empty lines do nothing",
       false,
       {"", "colour=red", "; comment", "   "},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 0);
         for (app::TListBox* list : f.GroupLists()) EXPECT_TRUE(list->Items.empty());
         EXPECT_TRUE(f.ListBox14.Items.empty());
         EXPECT_EQ(f.DirectoryEdit1.Text, kProgramFiles);
       }},
      {"upper-case section name opens a group",
       false,
       {"[EXTRAS]", "file=x"},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 1);
         EXPECT_EQ(f.CheckBox2.Caption, "EXTRAS");
         EXPECT_EQ(f.ListBox3.Items, Items{"0,x"});
       }},
      {"[Registry] and [MINIMAL] open none",
       false,
       {"[Registry]", "[MINIMAL]", "file=x"},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 0);
         EXPECT_FALSE(f.CheckBox2.Visible);
         EXPECT_EQ(f.ListBox2.Items, Items{"0,x"});
       }},
      {"a section line loses its last character whatever it is",
       false,
       {"[Extras "},
       [](TForm1& f, auto&) { EXPECT_EQ(f.CheckBox2.Caption, "Extras"); }},
      {"[registry] with a trailing blank is a group",
       false,
       {"[registry] "},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 1);
         EXPECT_EQ(f.CheckBox2.Caption, "registry]");
       }},
      {"a lone [ gives an empty caption",
       false,
       {"[", "[]"},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 2);
         EXPECT_EQ(f.CheckBox2.Caption, "");
         EXPECT_EQ(f.CheckBox3.Caption, "");
       }},
      {"an entry value in brackets is a section line too",
       false,
       {"[A]", "file=[x].txt"},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 2);
         EXPECT_EQ(f.CheckBox3.Caption, "x].tx");
         EXPECT_TRUE(f.ListBox3.Items.empty());
         EXPECT_EQ(f.ListBox4.Items, Items{"0,[x].txt"});
       }},
      {"a version in brackets opens a group",
       false,
       {"progname=T", "version=[beta]"},
       [](TForm1& f, auto& s) {
         EXPECT_EQ(s.groups, 1);
         EXPECT_EQ(f.CheckBox2.Caption, "beta");
         EXPECT_EQ(f.Label1.Caption, "T v[beta] Setup");
       }},
      {"entry lines after [registry] stay in the open group",
       false,
       {"[A]", "[registry]", "key=k", "file=x"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox3.Items, Items{"0,x"});
         EXPECT_EQ(f.ListBox14.Items, Items{"k"});
       }},
      {"key lines anywhere, unchanged, in order",
       false,
       {"key=first", "[A]", "KEY=Second,Value", "[registry]", "key="},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox14.Items, (Items{"first", "Second,Value", ""}));
       }},
      {"no progname before version",
       false,
       {"version=1.0", "progname=Late"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.Label1.Caption, "ProgName v1.0 Setup");
         EXPECT_EQ(f.Label4.Caption, "Welcome to the ProgName setup program.");
         EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\program files\\ProgName");
         EXPECT_EQ(f.Edit1.Text, "ProgName");
         EXPECT_EQ(f.progName.Caption, "Late");
       }},
      {"company after version follows the name without a separator",
       false,
       {"progname=Tool", "version=1", "company=Co"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\program files\\ToolCo\\");
         EXPECT_EQ(f.Label39.Caption, "Co");
       }},
      {"each version line appends the name again",
       false,
       {"progname=T", "version=1", "version=2"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\program files\\TT");
         EXPECT_EQ(f.Label1.Caption, "T v2 Setup");
         EXPECT_EQ(f.Label4.Caption, "Welcome to the T setup program.T setup program.");
       }},
      {"a later scr line replaces the folder built so far",
       false,
       {"progname=Saver", "company=Co", "version=1", "scr=saver.scr"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.DirectoryEdit1.Text, kSystem);
         EXPECT_EQ(f.ListBox2.Items, Items{"2,saver.scr"});
       }},
      {"lines after scr build on the system folder",
       false,
       {"scr=s.scr", "company=Co"},
       [](TForm1& f, auto&) { EXPECT_EQ(f.DirectoryEdit1.Text, "c:\\windows\\system32\\Co\\"); }},
      {"feedback is ignored in install mode",
       false,
       {"feedback=abc|def"},
       [](TForm1& f, auto&) { EXPECT_EQ(f.Label37.Caption, "None"); }},
      {"uninstall mode titles end in Uninstall",
       true,
       {"progname=Tool", "version=3"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.Label1.Caption, "Tool v3 Uninstall");
         EXPECT_EQ(f.Label4.Caption, "Welcome to the Tool setup program.");
       }},
      {"uninstall mode reads entries like install mode",
       true,
       {"file=a", "[G]", "app=b"},
       [](TForm1& f, auto&) {
         EXPECT_EQ(f.ListBox2.Items, Items{"0,a"});
         EXPECT_EQ(f.ListBox3.Items, Items{"3,b"});
         EXPECT_TRUE(f.CheckBox2.Visible);
       }},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reading r(c.uninstallMode);
    r.read(c.lines);
    c.check(r.form, r.state);
  }
}

TEST(ScriptReading, FeedbackSettingInUninstallMode) {
  const std::pair<const char*, const char*> cases[] = {
      {"feedback=abc|def", "def"}, {"feedback=abc", "abc"},  {"feedback=", "None"},
      {"feedback=|def", "def"},    {"feedback=abc|", "abc"}, {"feedback=a|b|c", "b"},
      {"FEEDBACK=x", "x"},
  };
  for (const auto& [line, expected] : cases) {
    Reading r(true);
    r.read({line});
    EXPECT_EQ(r.form.Label37.Caption, expected) << line;
  }
}

TEST(ScriptReading, TwelveGroupsFillTenAndDropTheEntriesOfTheRest) {
  Reading r(false);
  std::vector<std::string> lines = {"file=required"};
  for (int g = 1; g <= 12; ++g) {
    lines.push_back("[G" + std::to_string(g) + "]");
    lines.push_back("file=g" + std::to_string(g));
  }
  lines.push_back("key=after the twelfth"); // registry lines are never dropped
  r.read(lines);
  EXPECT_EQ(r.state.groups, 12);
  EXPECT_EQ(r.form.ListBox2.Items, Items{"0,required"});
  const auto boxes = r.form.GroupCheckBoxes();
  const auto lists = r.form.GroupLists();
  for (std::size_t g = 1; g <= 10; ++g) {
    EXPECT_EQ(boxes[g - 1]->Caption, "G" + std::to_string(g));
    EXPECT_TRUE(boxes[g - 1]->Visible);
    EXPECT_EQ(lists[g]->Items, Items{"0,g" + std::to_string(g)});
  }
  std::size_t entries = 0;
  for (app::TListBox* list : lists) entries += list->Items.size();
  EXPECT_EQ(entries, 11u) << "the entries of groups 11 and 12 are lost";
  EXPECT_EQ(r.form.ListBox14.Items, Items{"after the twelfth"});
}

TEST(ScriptReading, ThreeGroupsShowThreeBoxes) {
  Reading r(false);
  r.read({"[A]", "[B]", "[C]"});
  const auto boxes = r.form.GroupCheckBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i)
    EXPECT_EQ(boxes[i]->Visible, i < 3) << "group " << i + 1;
}

} // namespace
