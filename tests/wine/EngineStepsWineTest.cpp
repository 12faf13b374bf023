// The installation steps of the Windows build against Wine's real registry and shell: script
// values, the installed-programs entry and shortcuts, each written, read back through the system
// and removed again by the uninstall's steps.
#include "app/Installer.h"
#include "engine/RegistryValues.h"
#include "engine/Shortcuts.h"
#include "engine/UninstallEntry.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "unit/app/ScriptedUi.h"

#include "ShellLinkReader.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

// A name no earlier run left behind.
std::string uniqueName(const char* prefix) {
  static int counter = 0;
  return prefix + std::to_string(GetTickCount()) + "-" + std::to_string(GetCurrentProcessId()) +
         "-" + std::to_string(++counter);
}

using Data = std::variant<std::monostate, std::string, std::uint32_t>;

// A value read straight from the registry's 64-bit view: text, number or nothing.
Data readValue(HKEY root, const std::string& key, const std::string& name,
               REGSAM view = KEY_WOW64_64KEY) {
  HKEY opened{};
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return {};
  char buffer[1024] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return {};
  if (type == REG_SZ) return std::string(buffer);
  if (type == REG_DWORD && size == 4) {
    std::uint32_t number = 0;
    std::memcpy(&number, buffer, 4);
    return number;
  }
  return {};
}

bool keyExists(HKEY root, const std::string& key, REGSAM view = KEY_WOW64_64KEY) {
  HKEY opened{};
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

class EngineStepsOnWindows : public testing::Test {
protected:
  void TearDown() override {
    for (const std::string& key : cleanUser_) RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    for (const std::string& key : cleanMachine_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }

  // A new folder in the temporary folder, removed afterwards.
  std::string makeFolder() {
    folder_ = platform::tempPath(platform::tempPathSize()) + uniqueName("qf-steps-");
    EXPECT_TRUE(platform::createDirectory(folder_));
    return folder_;
  }

  testing_ui::ScriptedUi ui_;
  platform::ComApartment apartment_;
  app::TForm1 form_;
  std::vector<std::string> cleanUser_, cleanMachine_;
  std::string folder_;
};

TEST_F(EngineStepsOnWindows, ScriptValuesAreWrittenAndTheirKeysDeleted) {
  const std::string key = "Software\\" + uniqueName("QuillfernTest");
  cleanUser_ = {key};
  cleanMachine_ = {key};
  form_.ListBox14.Items = {
      "HKEY_CURRENT_USER\\" + key + "\\App,string,Path,C:\\Apps\\Example",
      "HKEY_CURRENT_USER\\" + key + "\\App,string,Greeting,Hello, world",
      "HKEY_LOCAL_MACHINE\\" + key + ",bool,Enabled,TRUE",
      "HKLM\\" + key + ",integer,Count,-12",            // the root sticks
      "hkey_current_user\\" + key + ",integer,Bad,12a", // still the machine root
      "HKEY_LOCAL_MACHINE\\" + key + ",bool,Unset,yes",
  };
  engine::WriteRegistryValues(form_);
  EXPECT_EQ(readValue(HKEY_CURRENT_USER, key + "\\App", "Path"),
            Data(std::string("C:\\Apps\\Example")));
  EXPECT_EQ(readValue(HKEY_CURRENT_USER, key + "\\App", "Greeting"), Data(std::string("Hello")));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "Enabled"), Data(std::uint32_t{1}));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "Count"), Data(static_cast<std::uint32_t>(-12)));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "Bad"), Data());
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "Unset"), Data());
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key + "\\Bad"));
  EXPECT_EQ(form_.ErrorText, "hkey_current_user\\" + key + "\\Bad");
  // The 64-bit program writes the native view, not the 32-bit programs' copy.
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY));

  form_.ErrorText.clear();
  engine::RemoveRegistryKeys(form_);
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key + "\\App"));
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key)); // no line names it
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, "Software"));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(EngineStepsOnWindows, TheInstalledProgramsEntryComesAndGoes) {
  const std::string name = uniqueName("Example");
  const std::string key =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name + " vR2";
  cleanMachine_ = {key};
  form_.progName.Caption = name;
  form_.Label1.Caption = name + " vR2 Setup";
  form_.Label39.Caption = "Example Co";
  form_.DirectoryEdit1.Text = "C:\\Program Files\\Example Co\\" + name;
  form_.dirCreated = true;
  engine::WriteUninstallEntry(form_);

  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "DisplayName"), Data(name + " (Remove Only)"));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "UninstallString"),
            Data("c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1,C:\\Program "
                 "Files\\Example Co\\" +
                 name));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "DisplayIcon"),
            Data("C:\\Program Files\\Example Co\\" + name + "\\setup.ico"));
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, key, "Publisher"), Data(std::string("Example Co")));

  // Uninstall mode: the folder still holds the script, then no longer.
  form_.curDir.Caption = makeFolder();
  form_.Label1.Caption = name + " vR2 Uninstall";
  std::ofstream(folder_ + "\\setup.ini") << "[qfSetup]\n";
  engine::RemoveUninstallEntry(form_);
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, key));
  ASSERT_TRUE(platform::deleteFile(folder_ + "\\setup.ini"));
  engine::RemoveUninstallEntry(form_);
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_TRUE(
      keyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_EQ(form_.ErrorText, "");
}

// The same file or folder, whatever the case and however many backslashes stand in a row.
std::string canonical(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && !out.empty() && out.back() == '\\') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

TEST_F(EngineStepsOnWindows, ShortcutsLeadToTheInstalledProgramsAndGoAtUninstall) {
  const std::string app = makeFolder();
  ASSERT_TRUE(platform::createDirectory(app + "\\bin"));
  for (const char* file : {"\\example.exe", "\\agent.exe", "\\bin\\tool.exe"})
    std::ofstream(app + file) << "x";
  VelTextHandler nth;
  const std::string programs = nth.SpecialFolder("allPrograms");
  const std::string desktop = nth.SpecialFolder("allDesktop");
  const std::string startup = nth.SpecialFolder("allStartup");
  const std::string name = uniqueName("Example");
  form_.DirectoryEdit1.Text = app;
  form_.progName.Caption = name;
  form_.Edit1.Text = name;
  form_.CheckBox9.Checked = true;
  form_.ListBox13.Items = {"3,example.exe,,20480", "1,agent.exe,,1000", "3,tool.exe,bin,5000"};

  engine::CreateProgramFolder(form_);
  ASSERT_TRUE(platform::directoryExists(programs + name));
  engine::CreateShortcuts(form_);
  EXPECT_EQ(form_.Tasks.Caption, app + "\\\\example.exe");

  struct Expected {
    std::string link;
    std::string target;
    std::string folder;
  };
  const Expected expected[] = {
      {programs + name + "\\" + name + ".lnk", app + "\\example.exe", app + "\\\\"},
      {programs + name + "\\agent.lnk", app + "\\agent.exe", app + "\\\\"},
      {programs + name + "\\tool.lnk", app + "\\bin\\tool.exe", app + "\\bin\\"},
      {desktop + name + ".lnk", app + "\\example.exe", app + "\\\\"},
      {desktop + "agent.lnk", app + "\\agent.exe", app + "\\\\"},
      {desktop + "tool.lnk", app + "\\bin\\tool.exe", app + "\\bin\\"},
      {startup + "agent.lnk", app + "\\agent.exe", app + "\\\\"},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.link);
    std::optional<ReadLink> read = readLink(e.link);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(canonical(read->path), canonical(e.target));
    EXPECT_TRUE(platform::fileExists(read->path)) << read->path;
    EXPECT_EQ(read->workingDirectory, e.folder);
  }
  EXPECT_FALSE(platform::fileExists(startup + name + ".lnk"));
  EXPECT_FALSE(platform::fileExists(startup + "tool.lnk"));

  // The uninstall's view of the same script removes them again.
  form_.ListBox13.Items = {"3,example.exe", "1,agent.exe", "3,tool.exe", "0,setup.ini",
                           "0,setup.ico"};
  engine::RemoveShortcuts(form_);
  EXPECT_FALSE(platform::directoryExists(programs + name));
  for (const std::string& gone : {desktop + name + ".lnk", desktop + "agent.lnk",
                                  desktop + "tool.lnk", startup + "agent.lnk"})
    EXPECT_FALSE(platform::fileExists(gone)) << gone;
  EXPECT_TRUE(platform::directoryExists(programs));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(EngineStepsOnWindows, DeleteFolderGoesThroughTheShell) {
  const std::string folder = makeFolder();
  std::ofstream(folder + "\\inside.txt") << "x";
  // One character too long for the shell's buffer, though what fits of it names the folder.
  const std::string tooLong = folder + std::string(255 - folder.size(), '\\');
  ASSERT_TRUE(platform::directoryExists(tooLong.substr(0, 254)));
  EXPECT_FALSE(engine::DeleteFolder(tooLong));
  EXPECT_TRUE(platform::directoryExists(folder));
  EXPECT_TRUE(engine::DeleteFolder(folder));
  EXPECT_FALSE(platform::directoryExists(folder));
}

} // namespace
