// The installed-programs entry on the emulated machine: its key and four values, the uninstall
// command line with its flag and folder, and its removal at the end of an uninstall.
#include "engine/UninstallEntry.h"
#include "unit/engine/EngineMachine.h"

#include <string>
#include <vector>

namespace {

using engine_test::registry;
using engine_test::valueLines;
using platform::RegRoot;

const std::string kList = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct EntryCase {
  const char* title;
  const char* heading; // Label1
  const char* company; // Label39; nullptr keeps the window's own
  const char* folder;  // DirectoryEdit1
  bool dirCreated;
  const char* entry;
  std::vector<std::string> values; // as the registry file lists them, sorted by name
};

const EntryCase kEntryCases[] = {
    {"a new folder",
     "Example vR2 Setup",
     "Example Co",
     "C:\\Program Files\\Example Co\\Example",
     true,
     "Example vR2",
     {"\"DisplayIcon\"=\"C:\\\\Program Files\\\\Example Co\\\\Example\\\\setup.ico\"",
      "\"DisplayName\"=\"Example (Remove Only)\"", "\"Publisher\"=\"Example Co\"",
      "\"UninstallString\"=\"c:\\\\windows\\\\\\\\$qfUninstallV1$\\\\setup.exe /uninstall: "
      "1,C:\\\\Program Files\\\\Example Co\\\\Example\""}},
    {"an existing folder",
     "Example vR2 Setup",
     "Example Co",
     "C:\\Program Files\\Example Co\\Example",
     false,
     "Example vR2",
     {"\"DisplayIcon\"=\"C:\\\\Program Files\\\\Example Co\\\\Example\\\\setup.ico\"",
      "\"DisplayName\"=\"Example (Remove Only)\"", "\"Publisher\"=\"Example Co\"",
      "\"UninstallString\"=\"c:\\\\windows\\\\\\\\$qfUninstallV1$\\\\setup.exe /uninstall: "
      "0,C:\\\\Program Files\\\\Example Co\\\\Example\""}},
    {"a folder typed with a trailing backslash",
     "Example vR2 Setup",
     "Example Co",
     "C:\\Apps\\Example\\",
     false,
     "Example vR2",
     {"\"DisplayIcon\"=\"C:\\\\Apps\\\\Example\\\\\\\\setup.ico\"",
      "\"DisplayName\"=\"Example (Remove Only)\"", "\"Publisher\"=\"Example Co\"",
      "\"UninstallString\"=\"c:\\\\windows\\\\\\\\$qfUninstallV1$\\\\setup.exe /uninstall: "
      "0,C:\\\\Apps\\\\Example\\\\\""}},
    {"no company and no version",
     "[none] Setup",
     nullptr,
     "C:\\Program Files\\Example",
     true,
     "[none]",
     {"\"DisplayIcon\"=\"C:\\\\Program Files\\\\Example\\\\setup.ico\"",
      "\"DisplayName\"=\"Example (Remove Only)\"", "\"Publisher\"=\"Quillfern\"",
      "\"UninstallString\"=\"c:\\\\windows\\\\\\\\$qfUninstallV1$\\\\setup.exe /uninstall: "
      "1,C:\\\\Program Files\\\\Example\""}},
};

TEST(UninstallEntryTable, TheEntryHoldsExactlyItsFourValues) {
  for (const EntryCase& c : kEntryCases) {
    SCOPED_TRACE(c.title);
    testing_ui::Scratch machine;
    testing_ui::ScriptedUi ui;
    app::TForm1 form;
    form.progName.Caption = "Example";
    form.Label1.Caption = c.heading;
    if (c.company) form.Label39.Caption = c.company;
    form.DirectoryEdit1.Text = c.folder;
    form.dirCreated = c.dirCreated;
    form.ErrorText = "earlier";

    engine::WriteUninstallEntry(form);
    EXPECT_EQ(valueLines("HKEY_LOCAL_MACHINE\\" + kList + "\\" + c.entry), c.values);
    EXPECT_EQ(
        registry().readString(RegRoot::LocalMachine, kList + "\\" + c.entry, "UninstallString"),
        engine::UninstallCommandLine(form));
    EXPECT_EQ(form.ErrorText, "earlier"); // the step never reports
  }
}

TEST(UninstallEntryTable, CommandLineKeepsTheFlagAndFolderWhereStartUpReadsThem) {
  testing_ui::Scratch machine;
  testing_ui::ScriptedUi ui;
  app::TForm1 form;
  form.DirectoryEdit1.Text = "C:\\Program Files\\Example Co\\Example";
  form.dirCreated = true;
  const std::string line = engine::UninstallCommandLine(form);
  EXPECT_EQ(line,
            "c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1,C:\\Program Files\\Example "
            "Co\\Example");
  // The arguments after the program, joined: flag at position 13, folder from position 15.
  const std::string arguments = line.substr(line.find(' ') + 1);
  EXPECT_EQ(arguments.substr(0, 10), "/uninstall");
  EXPECT_EQ(arguments[12], '1');
  EXPECT_EQ(arguments[13], ',');
  EXPECT_EQ(arguments.substr(14), form.DirectoryEdit1.Text);
}

class UninstallEntryRemoval : public EngineMachine {
protected:
  void SetUp() override {
    scratch_.makeFolder("C:\\Apps\\Example");
    form_.curDir.Caption = "C:\\Apps\\Example";
    for (const char* name : {"Example vR2", "[none]", "[n", "Other App"}) {
      ASSERT_TRUE(registry().createKey(RegRoot::LocalMachine, kList + "\\" + name));
      ASSERT_TRUE(
          registry().writeString(RegRoot::LocalMachine, kList + "\\" + name, "DisplayName", name));
    }
  }
  bool listed(const std::string& name) {
    return registry().keyExists(RegRoot::LocalMachine, kList + "\\" + name);
  }
};

TEST_F(UninstallEntryRemoval, StaysWhileTheScriptIsStillInTheFolder) {
  scratch_.writeFile("C:\\Apps\\Example\\setup.ini", "[qfSetup]\n");
  form_.Label1.Caption = "Example vR2 Uninstall";
  engine::RemoveUninstallEntry(form_);
  EXPECT_TRUE(listed("Example vR2"));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(UninstallEntryRemoval, GoesOnceTheScriptIsGone) {
  form_.Label1.Caption = "Example vR2 Uninstall";
  engine::RemoveUninstallEntry(form_);
  EXPECT_FALSE(listed("Example vR2"));
  EXPECT_TRUE(listed("Other App"));
  EXPECT_TRUE(registry().keyExists(RegRoot::LocalMachine, kList));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(UninstallEntryRemoval, AnEntryRegisteredWithoutVersionIsFoundAgain) {
  // Without a version line the title keeps "[none] Setup" in uninstall mode too; the entry the
  // installation registered is "[none]".
  form_.Label1.Caption = "[none] Setup";
  engine::RemoveUninstallEntry(form_);
  EXPECT_FALSE(listed("[none]"));
  EXPECT_TRUE(listed("[n"));
  EXPECT_TRUE(listed("Other App"));
}

TEST_F(UninstallEntryRemoval, ATitleThatNamesNoEntryNeverTakesTheWholeList) {
  for (const char* heading : {" Uninstall", "Uninstall", "", "\\\\ Uninstall"}) {
    SCOPED_TRACE(heading);
    form_.Label1.Caption = heading;
    engine::RemoveUninstallEntry(form_);
    EXPECT_TRUE(listed("Example vR2"));
    EXPECT_TRUE(listed("Other App"));
  }
  EXPECT_EQ(form_.ErrorText, "");
}

} // namespace
