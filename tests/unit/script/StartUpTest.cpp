// Start-up on a fresh emulated machine: the source folder, branding, licence, the script, the
// three error paths with their ends, and uninstall mode from the command line.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Installer.h"
#include "platform/CommandLine.h"
#include "platform/Registry.h"
#include "platform/posix/Machine.h"
#include "text/VelTextHandler1.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;
using platform::posix::Machine;
using testing_ui::ProgramEnded;
using Items = std::vector<std::string>;

constexpr const char* kExampleScript = "[Quillfern Installer v1.10]\r\n"
                                       "progname=Sample App\r\n"
                                       "company=Sample Co\r\n"
                                       "version=2.0\r\n"
                                       "[minimal]\r\n"
                                       "app=sample.exe\r\n"
                                       "file=readme.txt\r\n"
                                       "[Documentation]\r\n"
                                       "file=*.txt,docs\r\n"
                                       "[Examples]\r\n"
                                       "file=*.cpp,examples\r\n"
                                       "[registry]\r\n"
                                       "key=HKEY_LOCAL_MACHINE,Software\\Sample Co,Path,x\r\n";

std::string le16(unsigned value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}
std::string gif(unsigned width, unsigned height) {
  return "GIF89a" + le16(width) + le16(height) + std::string(3, '\0');
}
std::string bitmap(unsigned width, unsigned height) {
  return "BM" + std::string(12, '\0') + le16(12) + le16(0) + le16(width) + le16(height) + le16(1) +
         le16(24);
}
std::string icon(unsigned char side) {
  return le16(0) + le16(1) + le16(1) + std::string(2, static_cast<char>(side)) +
         std::string(14, '\0');
}

std::string lowerProgramFiles() { return VelTextHandler().SpecialFolder("ProgramFiles"); }

class StartUp : public testing::Test {
protected:
  void SetUp() override {
    Machine::instance().setProgramPath("C:\\src\\setup.exe");
    scratch.makeFolder("C:\\src");
    commandLine({}, std::nullopt);
    form = std::make_unique<TForm1>();
  }
  void TearDown() override {
    form.reset();
    platform::overrideCommandLine(std::nullopt);
  }

  void commandLine(std::vector<std::string> arguments, std::optional<std::string> raw) {
    platform::overrideCommandLine(platform::CommandLine{std::move(arguments), std::move(raw)});
  }
  void file(const std::string& path, const std::string& bytes) { scratch.writeFile(path, bytes); }

  // Runs the activation; true when it ended the program at once.
  bool activate() {
    try {
      form->FormActivate();
    } catch (const ProgramEnded& end) {
      EXPECT_EQ(end.code, 0);
      return true;
    }
    return false;
  }

  void expectOnlyBox(const std::string& text) {
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, text);
    EXPECT_EQ(ui.boxes[0].title, "Error");
    EXPECT_EQ(ui.boxes[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(ui.boxes[0].buttons, platform::MessageButtons::Ok);
  }

  // The exit timer is armed and ends the program once the loop runs it.
  void expectExitByTimer() {
    EXPECT_TRUE(ui.exitCodes.empty()) << "nothing may end before the handler returns";
    EXPECT_TRUE(form->Timer2.Enabled());
    EXPECT_THROW(ui.runTimers(), ProgramEnded);
    EXPECT_EQ(ui.exitCodes, std::vector<int>{0});
  }

  testing_ui::Scratch scratch;
  testing_ui::ScriptedUi ui;
  std::unique_ptr<TForm1> form;
};

TEST_F(StartUp, ReadsTheExampleScriptFromTheSourceFolder) {
  file("C:\\src\\setup.ini", kExampleScript);
  EXPECT_FALSE(activate());
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(form->curDir.Caption, "C:\\src\\");
  EXPECT_EQ(form->Notebook1.PageIndex(), app::page::Welcome);
  EXPECT_EQ(form->progName.Caption, "Sample App");
  EXPECT_EQ(form->Label1.Caption, "Sample App v2.0 Setup");
  EXPECT_EQ(form->Label4.Caption, "Welcome to the Sample App setup program.");
  EXPECT_EQ(form->DirectoryEdit1.Text, lowerProgramFiles() + "Sample Co\\Sample App");
  EXPECT_EQ(form->Edit1.Text, "Sample App");
  EXPECT_EQ(form->Label39.Caption, "Sample Co");
  EXPECT_EQ(form->ListBox2.Items, (Items{"3,sample.exe", "0,readme.txt"}));
  EXPECT_EQ(form->ListBox3.Items, Items{"0,*.txt,docs"});
  EXPECT_EQ(form->ListBox4.Items, Items{"0,*.cpp,examples"});
  EXPECT_EQ(form->ListBox14.Items, Items{"HKEY_LOCAL_MACHINE,Software\\Sample Co,Path,x"});
  EXPECT_EQ(form->CheckBox2.Caption, "Documentation");
  EXPECT_TRUE(form->CheckBox3.Visible);
  EXPECT_FALSE(form->CheckBox4.Visible);
  EXPECT_FALSE(form->dirCreated);
  EXPECT_FALSE(form->Timer2.Enabled());
  EXPECT_EQ(form->Label37.Caption, "None");
}

TEST_F(StartUp, RunsOnceEvenWhenTheScriptNamesNoProgram) {
  file("C:\\src\\setup.ini", "[Quillfern Installer v1.00]\nversion=1\nfile=a.txt\n");
  activate();
  EXPECT_EQ(form->progName.Caption, "ProgName");
  form->Notebook1.SetPageIndex(app::page::Location);
  activate(); // the window is activated again, say after another window had the focus
  EXPECT_EQ(form->Notebook1.PageIndex(), app::page::Location);
  EXPECT_EQ(form->ListBox2.Items, Items{"0,a.txt"});
  EXPECT_EQ(form->Label4.Caption, "Welcome to the ProgName setup program.");
}

TEST_F(StartUp, AScriptWithOnlyItsHeaderReadsNothingAndIsNoError) {
  file("C:\\src\\setup.ini", "[Quillfern Installer v1.10]");
  EXPECT_FALSE(activate());
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(form->Label1.Caption, "[none] Setup");
  EXPECT_EQ(form->DirectoryEdit1.Text, lowerProgramFiles());
  EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(StartUp, AScrLineTakesTheSystemFolder) {
  file("C:\\src\\setup.ini", "[Quillfern Installer v1.10]\nprogname=Sky\nversion=1\nscr=sky.scr\n");
  activate();
  EXPECT_EQ(form->DirectoryEdit1.Text, VelTextHandler().SpecialFolder("system32"));
  EXPECT_EQ(form->ListBox2.Items, Items{"2,sky.scr"});
}

TEST_F(StartUp, MissingScriptEndsThroughTheExitTimer) {
  EXPECT_FALSE(activate());
  expectOnlyBox("Error in locating Setup components!");
  EXPECT_EQ(form->Notebook1.PageIndex(), app::page::Welcome);
  expectExitByTimer();
}

TEST_F(StartUp, AProgramFileNameOfAnotherLengthLooksInTheWrongFolder) {
  Machine::instance().setProgramPath("C:\\src\\install.exe");
  file("C:\\src\\setup.ini", kExampleScript);
  EXPECT_FALSE(activate());
  EXPECT_EQ(form->curDir.Caption, "C:\\src\\in");
  expectOnlyBox("Error in locating Setup components!");
  expectExitByTimer();
}

TEST_F(StartUp, ABadHeaderEndsAtOnceAndReadsNothing) {
  const char* const scripts[] = {
      "",
      "\xEF\xBB\xBF[Quillfern Installer v1.10]\nprogname=Tool\n",
      "[quillfern installer v1.10]\nprogname=Tool\n",
      "[Quillfern Installer v1.20]\nprogname=Tool\n",
      " [Quillfern Installer v1.10]\nprogname=Tool\n",
      "progname=Tool\n[Quillfern Installer v1.10]\n",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(testing::PrintToString(std::string(script)));
    ui.boxes.clear();
    ui.exitCodes.clear();
    form = std::make_unique<TForm1>();
    file("C:\\src\\setup.ini", script);
    EXPECT_TRUE(activate());
    expectOnlyBox("Error in INI file!\r\nSetup must close.");
    EXPECT_EQ(ui.exitCodes, std::vector<int>{0});
    EXPECT_EQ(form->progName.Caption, "ProgName");
    EXPECT_FALSE(form->Timer2.Enabled());
  }
}

TEST_F(StartUp, IconAndLogoComeFromTheSourceFolderTheLastLogoWinning) {
  file("C:\\src\\setup.ini", kExampleScript);
  file("C:\\src\\setup.ico", icon(48));
  file("C:\\src\\logo.bmp", bitmap(50, 40));
  file("C:\\src\\logo.jpg", "not a picture"); // passed over
  file("C:\\src\\logo.gif", gif(120, 44));
  activate();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(form->Image1.Width, 48);
  EXPECT_EQ(form->Image1.Picture.FileName, "C:\\src\\\\setup.ico");
  EXPECT_EQ(form->Image2.Picture.FileName, "C:\\src\\\\logo.gif");
  // 44 pixels is too high: 120 x 44 becomes 117 x 43 (117.27 rounded), at 510 - 117 - 15.
  EXPECT_EQ(form->Image2.Width, 117);
  EXPECT_EQ(form->Image2.Height, 43);
  EXPECT_EQ(form->Image2.Left, 378);
  EXPECT_FALSE(form->RxLabel1.Visible);
}

TEST_F(StartUp, ALogoAsHighAsTheHeaderKeepsItsSizeAndTheLink) {
  file("C:\\src\\setup.ini", kExampleScript);
  file("C:\\src\\logo.bmp", bitmap(90, 43));
  file("C:\\src\\logo.jpeg", "garbage");
  activate();
  EXPECT_EQ(form->Image2.Picture.FileName, "C:\\src\\\\logo.bmp");
  EXPECT_EQ(form->Image2.Width, 90);
  EXPECT_EQ(form->Image2.Height, 43);
  EXPECT_EQ(form->Image2.Left, 405);
  EXPECT_TRUE(form->RxLabel1.Visible);
}

TEST_F(StartUp, LicenceTextReplacesTheBuiltInOne) {
  struct Case {
    const char* bytes;
    Items lines;
  };
  const Case cases[] = {
      {"Terms\r\n\r\nMore terms\r\n", {"Terms", "", "More terms"}},
      {"", {""}},
      {"a\rb\x1A"
       "c",
       {"ab"}},
  };
  for (const Case& c : cases) {
    form = std::make_unique<TForm1>();
    file("C:\\src\\setup.ini", kExampleScript);
    file("C:\\src\\agreement.txt", c.bytes);
    activate();
    EXPECT_EQ(form->Memo1.Lines, c.lines);
  }
}

TEST_F(StartUp, WithoutALicenceFileTheBuiltInTextStays) {
  file("C:\\src\\setup.ini", kExampleScript);
  const Items builtIn = form->Memo1.Lines;
  activate();
  EXPECT_EQ(form->Memo1.Lines, builtIn);
}

struct ModeCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<std::string> raw;
  const char* folder; // where setup.ini lies; nullptr: nowhere
  bool uninstall;
  const char* curDir;
  bool dirCreated;
  bool error;
};

TEST_F(StartUp, UninstallModeAndItsFolderFromTheCommandLine) {
  const ModeCase cases[] = {
      {"upper case, flag 1",
       {"/UNINSTALL:", "1,C:\\Apps\\Tool"},
       std::nullopt,
       "C:\\Apps\\Tool",
       true,
       "C:\\Apps\\Tool",
       true,
       false},
      {"flag 0",
       {"/uninstall:", "0,C:\\Apps\\Tool"},
       std::nullopt,
       "C:\\Apps\\Tool",
       true,
       "C:\\Apps\\Tool",
       false,
       false},
      {"the registered command line, folder with two blanks",
       {"/uninstall:", "1,C:\\Program", "Files\\Tool"},
       std::string("c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1,C:\\Program  "
                   "Files\\Tool"),
       "C:\\Program  Files\\Tool",
       true,
       "C:\\Program  Files\\Tool",
       true,
       false},
      {"split arguments alone lose one of two blanks",
       {"/uninstall:", "1,C:\\Program", "Files\\Tool"},
       std::nullopt,
       "C:\\Program  Files\\Tool",
       true,
       "C:\\Program Files\\Tool",
       true,
       true},
      {"folder with a trailing backslash",
       {"/uninstall:", "0,C:\\Apps\\Tool\\"},
       std::nullopt,
       "C:\\Apps\\Tool",
       true,
       "C:\\Apps\\Tool\\",
       false,
       false},
      {"missing script",
       {"/uninstall:", "1,C:\\Gone"},
       std::nullopt,
       nullptr,
       true,
       "C:\\Gone",
       false,
       true},
      {"the switch alone looks at the root of the drive",
       {"/uninstall"},
       std::nullopt,
       "C:\\",
       true,
       "",
       false,
       false},
      {"other arguments keep install mode",
       {"/S"},
       std::nullopt,
       "C:\\src",
       false,
       "C:\\src\\",
       false,
       false},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_ui::Scratch machine; // each case on its own machine
    testing_ui::ScriptedUi caseUi;
    Machine::instance().setProgramPath("C:\\windows\\$qfUninstallV1$\\setup.exe");
    if (!c.uninstall) Machine::instance().setProgramPath("C:\\src\\setup.exe");
    if (c.folder)
      machine.writeFile(std::string(c.folder) + "\\setup.ini",
                        "[Quillfern Installer v1.10]\nprogname=Tool\nversion=1\n");
    commandLine(c.arguments, c.raw);
    TForm1 uninstaller;
    uninstaller.FormActivate();
    EXPECT_EQ(uninstaller.Notebook1.PageIndex(),
              c.uninstall ? app::page::UnWelcome : app::page::Welcome);
    EXPECT_EQ(uninstaller.curDir.Caption, c.curDir);
    EXPECT_EQ(uninstaller.Timer2.Enabled(), c.error);
    if (c.error) {
      ASSERT_EQ(caseUi.boxes.size(), 1u);
      EXPECT_EQ(caseUi.boxes[0].text, "Error in locating Uninstall components!");
      EXPECT_EQ(uninstaller.progName.Caption, "ProgName");
      continue;
    }
    EXPECT_TRUE(caseUi.boxes.empty());
    EXPECT_EQ(uninstaller.dirCreated, c.dirCreated);
    EXPECT_EQ(uninstaller.Label1.Caption, c.uninstall ? "Tool v1 Uninstall" : "Tool v1 Setup");
  }
}

TEST_F(StartUp, UninstallModeReadsFeedbackAndTheLicenceFromTheInstallationFolder) {
  commandLine({"/uninstall:", "1,C:\\Apps\\Tool"}, std::nullopt);
  file("C:\\Apps\\Tool\\setup.ini",
       "[Quillfern Installer v1.10]\nprogname=Tool\nfeedback=www.example.test|Tool\n[G]\n"
       "file=*.txt\nkey=k\n");
  file("C:\\Apps\\Tool\\agreement.txt", "Installed terms\n");
  activate();
  EXPECT_EQ(form->Label37.Caption, "Tool");
  EXPECT_EQ(form->Memo1.Lines, Items{"Installed terms"});
  EXPECT_EQ(form->ListBox3.Items, Items{"0,*.txt"});
  EXPECT_EQ(form->ListBox14.Items, Items{"k"});
}

TEST_F(StartUp, TheUninstallErrorPathRemovesNoRegistryKey) {
  const std::string uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  // What deleting by the first argument from its tenth character would hit, and an entry of
  // another application: both must stay.
  for (const char* name : {"l:", "Other App v1"})
    ASSERT_TRUE(platform::RegKey::open(platform::RegRoot::LocalMachine, uninstallKey + name, true)
                    .isOpen());
  commandLine({"/uninstall:", "1,C:\\Gone"}, std::nullopt);
  activate();
  expectOnlyBox("Error in locating Uninstall components!");
  for (const char* name : {"l:", "Other App v1"})
    EXPECT_TRUE(platform::RegKey::open(platform::RegRoot::LocalMachine, uninstallKey + name, false)
                    .isOpen())
        << name;
  expectExitByTimer();
}

} // namespace
