// Shortcuts on the emulated machine: the program folder, the .lnk files made for the plan (read
// back from the files), their removal at uninstall, and folders deleted into the recycle bin.
#include "engine/Shortcuts.h"
#include "engine/Errors.h"
#include "platform/Files.h"
#include "platform/posix/ShellLinkFile.h"
#include "unit/engine/EngineMachine.h"

#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kPrograms = "c:\\programdata\\microsoft\\windows\\start menu\\programs\\";
const std::string kDesktop = "c:\\users\\public\\desktop\\";
const std::string kStartup = "c:\\programdata\\microsoft\\windows\\start menu\\programs\\startup\\";
const std::string kApp = "C:\\Program Files\\Example Co\\Example";

struct Link {
  std::string target;
  std::string workingDirectory;
  bool operator==(const Link&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Link& link) {
  return out << link.target << " in " << link.workingDirectory;
}

std::optional<Link> readLink(const std::string& path) {
  std::optional<platform::posix::ShellLinkFields> fields = platform::posix::readShellLink(path);
  if (!fields) return std::nullopt;
  return Link{fields->target, fields->workingDirectory};
}

// The .lnk files directly in a folder, by name.
std::vector<std::string> linksIn(const std::string& folder) {
  return platform::listFiles(folder, "*.lnk");
}

class Shortcuts : public EngineMachine {
protected:
  void SetUp() override {
    form_.DirectoryEdit1.Text = kApp;
    form_.progName.Caption = "Example";
    form_.Edit1.Text = "Example";
    form_.CheckBox9.Checked = true;
  }
};

TEST_F(Shortcuts, ProgramFolderIsMadeOnceAndOnlyItsLastLevel) {
  engine::CreateProgramFolder(form_);
  EXPECT_TRUE(platform::directoryExists(kPrograms + "Example"));
  engine::CreateProgramFolder(form_); // already there: nothing to do
  EXPECT_TRUE(platform::directoryExists(kPrograms + "Example"));

  form_.Edit1.Text = "Missing\\Example";
  EXPECT_THROW(engine::CreateProgramFolder(form_), engine::EInOutError);
  EXPECT_FALSE(platform::directoryExists(kPrograms + "Missing"));

  scratch_.writeFile(kPrograms + "AFile", "not a folder");
  form_.Edit1.Text = "AFile";
  EXPECT_THROW(engine::CreateProgramFolder(form_), engine::EInOutError);
}

TEST_F(Shortcuts, EachProgramEntryGetsItsLinks) {
  engine::CreateProgramFolder(form_);
  form_.ListBox13.Items = {"3,example.exe,,20480", "0,readme.txt,,100", "1,agent.exe,,1000",
                           "3,tool.exe,bin,5000",  "3,my.tool.exe,,10", "2,nightsky.scr,,50"};
  engine::CreateShortcuts(form_);
  EXPECT_EQ(form_.Label23.Caption, "Creating Shortcuts...");
  // The first program entry is the one Finish may start.
  EXPECT_EQ(form_.Tasks.Caption, kApp + "\\\\example.exe");

  const Link example{kApp + "\\\\example.exe", kApp + "\\\\"};
  const Link agent{kApp + "\\\\agent.exe", kApp + "\\\\"};
  const Link tool{kApp + "\\bin\\tool.exe", kApp + "\\bin\\"};
  const Link myTool{kApp + "\\\\my.tool.exe", kApp + "\\\\"};
  const Link saver{kApp + "\\\\nightsky.scr", kApp + "\\\\"};
  for (const std::string& folder : {kPrograms + "Example\\", kDesktop}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(linksIn(folder), (std::vector<std::string>{"agent.lnk", "Example.lnk", "my.tool.lnk",
                                                         "nightsky.lnk", "tool.lnk"}));
    EXPECT_EQ(readLink(folder + "Example.lnk"), example);
    EXPECT_EQ(readLink(folder + "agent.lnk"), agent);
    EXPECT_EQ(readLink(folder + "tool.lnk"), tool);
    EXPECT_EQ(readLink(folder + "my.tool.lnk"), myTool);
    EXPECT_EQ(readLink(folder + "nightsky.lnk"), saver);
  }
  EXPECT_EQ(linksIn(kStartup), std::vector<std::string>{"agent.lnk"});
  EXPECT_EQ(readLink(kStartup + "agent.lnk"), agent);
}

TEST_F(Shortcuts, ANameWithCommasLeadsToTheFileTheExtractionWrote) {
  engine::CreateProgramFolder(form_);
  form_.ListBox13.Items = {"3,example.exe,,20480", "3,my,app.exe,bin,100"};
  engine::CreateShortcuts(form_);
  const Link app{kApp + "\\bin\\my,app.exe", kApp + "\\bin\\"};
  EXPECT_EQ(readLink(kPrograms + "Example\\my,app.lnk"), app);
  EXPECT_EQ(readLink(kDesktop + "my,app.lnk"), app);
}

TEST_F(Shortcuts, NoDesktopLinksUnlessTicked) {
  engine::CreateProgramFolder(form_);
  form_.CheckBox9.Checked = false;
  form_.ListBox13.Items = {"3,example.exe,,20480", "1,agent.exe,,1000"};
  engine::CreateShortcuts(form_);
  EXPECT_TRUE(linksIn(kDesktop).empty());
  EXPECT_EQ(linksIn(kPrograms + "Example"), (std::vector<std::string>{"agent.lnk", "Example.lnk"}));
  EXPECT_EQ(linksIn(kStartup), std::vector<std::string>{"agent.lnk"});
}

TEST_F(Shortcuts, AFileFirstMeansNoLinkIsNamedAfterTheProgram) {
  engine::CreateProgramFolder(form_);
  form_.ListBox13.Items = {"0,readme.txt,,100", "3,example.exe,,20480", "3,notes,notes,5"};
  engine::CreateShortcuts(form_);
  EXPECT_EQ(linksIn(kPrograms + "Example"), (std::vector<std::string>{"example.lnk", "n.lnk"}));
  EXPECT_EQ(form_.Tasks.Caption, kApp + "\\\\example.exe");
  // A subfolder field that repeats the name counts as no subfolder: the name follows the
  // installation folder text directly.
  EXPECT_EQ(readLink(kPrograms + "Example\\n.lnk"),
            (Link{kApp + "notes", "C:\\Program Files\\Example Co\\"}));
}

TEST_F(Shortcuts, WithoutProgramEntriesThereIsNothingToRun) {
  engine::CreateProgramFolder(form_);
  form_.ListBox13.Items = {"0,readme.txt,,100", "0,docs/a.txt,docs,10"};
  engine::CreateShortcuts(form_);
  EXPECT_EQ(form_.Tasks.Caption, "Tasks");
  EXPECT_TRUE(linksIn(kPrograms + "Example").empty());
  EXPECT_TRUE(linksIn(kDesktop).empty());
}

TEST_F(Shortcuts, SavesThatFailArePassedOver) {
  // The program folder was never made: its saves fail, the desktop ones still happen.
  form_.ListBox13.Items = {"3,example.exe,,20480", "3,tool.exe,bin,5000"};
  EXPECT_NO_THROW(engine::CreateShortcuts(form_));
  EXPECT_FALSE(platform::directoryExists(kPrograms + "Example"));
  EXPECT_EQ(linksIn(kDesktop), (std::vector<std::string>{"Example.lnk", "tool.lnk"}));
}

TEST(ShortcutsWithoutApartment, NoLinkObjectStopsTheRun) {
  CurrentFolderGuard folder;
  testing_ui::Scratch machine;
  testing_ui::ScriptedUi ui;
  app::TForm1 form;
  form.DirectoryEdit1.Text = kApp;
  form.ListBox13.Items = {"0,readme.txt,,100"};
  EXPECT_NO_THROW(engine::CreateShortcuts(form)); // no program entry: no object needed
  form.ListBox13.Items = {"0,readme.txt,,100", "3,example.exe,,20480", "3,tool.exe,,5"};
  EXPECT_THROW(engine::CreateShortcuts(form), engine::EOleError);
  EXPECT_EQ(form.Tasks.Caption, kApp + "\\\\example.exe");
}

// An installation's links, then the uninstall's view of the same script.
class ShortcutRemoval : public Shortcuts {
protected:
  void SetUp() override {
    Shortcuts::SetUp();
    engine::CreateProgramFolder(form_);
    form_.ListBox13.Items = {"3,example.exe,,20480", "1,agent.exe,,1000", "3,my.tool.exe,,10"};
    engine::CreateShortcuts(form_);
    scratch_.writeFile(kPrograms + "Example\\extra.txt", "someone's file");
    scratch_.makeFolder(kPrograms + "Other");
    scratch_.writeFile(kDesktop + "unrelated.lnk", "x");
    // Uninstall mode: the typed entries of the script, then the two copies.
    form_.ListBox13.Items = {"3,example.exe", "1,agent.exe", "3,my.tool.exe", "0,setup.ini",
                             "0,setup.ico"};
  }
};

TEST_F(ShortcutRemoval, RemovesDesktopAndStartupLinksAndTheProgramFolder) {
  engine::RemoveShortcuts(form_);
  // my.tool.exe is looked for as my.lnk: its desktop link stays.
  EXPECT_EQ(linksIn(kDesktop), (std::vector<std::string>{"my.tool.lnk", "unrelated.lnk"}));
  EXPECT_TRUE(linksIn(kStartup).empty());
  EXPECT_FALSE(platform::directoryExists(kPrograms + "Example"));
  EXPECT_TRUE(platform::fileExists("C:\\$Recycle.Bin\\Example\\extra.txt"));
  EXPECT_TRUE(platform::directoryExists(kPrograms + "Other"));
  EXPECT_TRUE(platform::directoryExists(kStartup));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(ShortcutRemoval, AFolderRenamedAtInstallationStays) {
  form_.Edit1.Text = "Example Renamed";
  engine::RemoveShortcuts(form_);
  EXPECT_TRUE(platform::directoryExists(kPrograms + "Example"));
  EXPECT_TRUE(linksIn(kStartup).empty());
}

TEST_F(ShortcutRemoval, NeverDeletesTheProgramsFolderOrAboveIt) {
  for (const char* name : {"", "\\", ".", "..", "...", ". .", "Example\\..", "..\\Programs", "/"}) {
    SCOPED_TRACE(name);
    form_.Edit1.Text = name;
    engine::RemoveShortcuts(form_);
    EXPECT_TRUE(platform::directoryExists(kPrograms + "Example"));
    EXPECT_TRUE(platform::directoryExists(kPrograms + "Other"));
  }
}

TEST_F(ShortcutRemoval, AnEmptyListRemovesNothing) {
  form_.ListBox13.Items.clear();
  engine::RemoveShortcuts(form_);
  EXPECT_TRUE(platform::directoryExists(kPrograms + "Example"));
  EXPECT_EQ(linksIn(kStartup), std::vector<std::string>{"agent.lnk"});
}

using DeleteFolder = EngineMachine;

TEST_F(DeleteFolder, MovesTheFolderWithItsContentIntoTheRecycleBin) {
  scratch_.writeFile("C:\\Apps\\Old\\sub\\file.txt", "content");
  EXPECT_TRUE(engine::DeleteFolder("C:\\Apps\\Old"));
  EXPECT_FALSE(platform::directoryExists("C:\\Apps\\Old"));
  EXPECT_TRUE(platform::fileExists("C:\\$Recycle.Bin\\Old\\sub\\file.txt"));
  EXPECT_TRUE(platform::directoryExists("C:\\Apps"));

  EXPECT_FALSE(engine::DeleteFolder("C:\\Apps\\Old")); // gone already
  EXPECT_FALSE(engine::DeleteFolder("C:\\"));
  EXPECT_FALSE(engine::DeleteFolder(""));
}

TEST_F(DeleteFolder, APathTooLongForTheShellsBufferIsRefusedWhole) {
  // A folder whose path is 254 characters long, and one beside it whose name is one character
  // longer: cut to the buffer, the longer path would name the shorter one.
  const std::string base = "C:\\" + std::string(100, 'a') + "\\" + std::string(100, 'b') + "\\";
  const std::string fits = base + std::string(254 - base.size(), 'c');
  const std::string tooLong = fits + "d";
  ASSERT_EQ(fits.size(), 254u);
  scratch_.writeFile(fits + "\\f.txt", "x");
  scratch_.writeFile(tooLong + "\\f.txt", "x");

  EXPECT_FALSE(engine::DeleteFolder(tooLong));
  EXPECT_TRUE(platform::fileExists(tooLong + "\\f.txt"));
  EXPECT_TRUE(platform::fileExists(fits + "\\f.txt"));
  EXPECT_TRUE(engine::DeleteFolder(fits));
  EXPECT_FALSE(platform::directoryExists(fits));
  EXPECT_TRUE(platform::directoryExists(tooLong));
}

} // namespace
