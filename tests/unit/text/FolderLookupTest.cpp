// The special-folder lookup on the emulated machine: every row, each of its fallbacks, the length
// thresholds that pass a source over, and the lower-case, backslash-ended form of every answer.
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/posix/Machine.h"
#include "platform/posix/RegistryStore.h"
#include "text/VelTextHandler1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <span>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using platform::posix::Machine;
namespace csidl = platform::csidl;

const std::string CurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string ShellFolders = CurrentVersion + "\\Explorer\\Shell Folders";

void writeRegistry(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& value) {
  platform::RegKey opened = platform::RegKey::open(root, key, true);
  ASSERT_TRUE(opened.writeString(name, value)) << key << " " << name;
}

void removeRegistryValue(RegRoot root, const std::string& key, const std::string& name) {
  Machine::instance().registry().deleteValue(root, key, name);
  ASSERT_EQ(platform::readRegistryString(root, key, name), "") << key << " " << name;
}

// The home variables of a profile in the old layout.
void homeOfJohn(Machine& m) {
  m.setEnvironment("HOMEDRIVE", "C:");
  m.setEnvironment("HOMEPATH", "\\Documents and Settings\\John");
}

void noHome(Machine& m) {
  m.unsetEnvironment("HOMEDRIVE");
  m.unsetEnvironment("HOMEPATH");
}

void noProgramFilesDir(Machine&) {
  removeRegistryValue(RegRoot::LocalMachine, CurrentVersion, "ProgramFilesDir");
}

void removeFolder(Machine& m, const std::string& windowsPath) {
  const fs::path host = m.hostPath(windowsPath);
  fs::remove_all(host);
  ASSERT_FALSE(fs::exists(host)) << host;
}

struct FolderCase {
  const char* what;
  std::string name;
  std::function<void(Machine&)> arrange;
  std::string expected;
};

class TextSpecialFolder : public ::testing::Test {
protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("qf-folders-" + std::to_string(std::random_device{}()));
  }
  void TearDown() override { fs::remove_all(base_); }

  // Each case starts from a fresh machine of its own.
  void check(std::span<const FolderCase> cases) {
    int n = 0;
    for (const FolderCase& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " (name \"" + c.name + "\")");
      Machine& machine = Machine::instance();
      machine.reset(base_ / std::to_string(n++));
      if (c.arrange) c.arrange(machine);
      if (HasFatalFailure()) return;
      VelTextHandler nth;
      EXPECT_EQ(nth.SpecialFolder(c.name), c.expected);
    }
  }

  fs::path base_;
};

TEST_F(TextSpecialFolder, Windows) {
  const FolderCase cases[] = {
      {"default machine: windir is 10 characters, the system's answer is used",
       "windows",
       {},
       "c:\\windows\\"},
      {"windir of 11 characters is taken", "windows",
       [](Machine& m) {
         m.setEnvironment("windir", "C:\\WINDOWS1");
         m.setWindowsDirectory("E:\\Elsewhere\\Win", 16);
       },
       "c:\\windows1\\"},
      {"windir ending in a backslash gets no second one", "windows",
       [](Machine& m) { m.setEnvironment("windir", "D:\\Systems\\WinNT\\"); },
       "d:\\systems\\winnt\\"},
      {"short windir: the system is asked", "windows",
       [](Machine& m) {
         m.setEnvironment("windir", "C:\\WINDOWS");
         m.setWindowsDirectory("E:\\Elsewhere\\Win", 16);
       },
       "e:\\elsewhere\\win\\"},
      {"system writes nothing: hard-coded path", "windows",
       [](Machine& m) {
         m.unsetEnvironment("windir");
         m.setWindowsDirectory("", 0);
       },
       "c:\\windows\\"},
      {"a short answer with characters written is kept", "windows",
       [](Machine& m) {
         m.unsetEnvironment("windir");
         m.setWindowsDirectory("D:\\W", 4);
       },
       "d:\\w\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, System32) {
  const FolderCase cases[] = {
      {"default machine: the shell's system folder", "system32", {}, "c:\\windows\\system32\\"},
      {"shell folder is taken as it is", "system32",
       [](Machine& m) { m.setShellFolder(csidl::System, "D:\\OS\\Binaries64"); },
       "d:\\os\\binaries64\\"},
      {"shell service failing: windir and system32", "system32",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         m.setEnvironment("windir", "D:\\OS");
       },
       "d:\\os\\system32\\"},
      {"short shell folder: windir and system32", "system32",
       [](Machine& m) {
         m.setShellFolder(csidl::System, "C:\\SYS");
         m.setEnvironment("windir", "E:");
       },
       "e:\\system32\\"},
      {"no shell folder, no windir: hard-coded path", "system32",
       [](Machine& m) {
         m.removeShellFolder(csidl::System);
         m.unsetEnvironment("windir");
       },
       "c:\\windows\\system32\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, ProgramFiles) {
  const FolderCase cases[] = {
      {"default machine: the shell's folder", "programfiles", {}, "c:\\program files\\"},
      {"shell failing: the registry value", "programfiles",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         writeRegistry(RegRoot::LocalMachine, CurrentVersion, "ProgramFilesDir",
                       "E:\\Apps\\Programs");
       },
       "e:\\apps\\programs\\"},
      {"registry value short, x86 folder present", "programfiles",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         writeRegistry(RegRoot::LocalMachine, CurrentVersion, "ProgramFilesDir", "E:\\Apps");
         ASSERT_TRUE(fs::is_directory(m.hostPath("c:\\program files (x86)")));
       },
       "c:\\program files (x86)\\"},
      {"registry value missing, x86 folder present", "programfiles",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         noProgramFilesDir(m);
       },
       "c:\\program files (x86)\\"},
      {"registry value missing, x86 folder absent", "programfiles",
       [](Machine& m) {
         m.removeShellFolder(csidl::ProgramFiles);
         noProgramFilesDir(m);
         removeFolder(m, "C:\\Program Files (x86)");
       },
       "c:\\program files\\"},
      {"a file of the x86 folder's name is no folder", "programfiles",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         noProgramFilesDir(m);
         removeFolder(m, "C:\\Program Files (x86)");
         std::ofstream(m.hostPath("C:\\Program Files (x86)")) << "x";
       },
       "c:\\program files\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, Temp) {
  const FolderCase cases[] = {
      {"default machine: the temp variable", "temp", {}, "c:\\users\\user\\appdata\\local\\temp\\"},
      {"short variable: the system's temporary path", "temp",
       [](Machine& m) {
         m.setEnvironment("temp", "C:\\T");
         m.setTempPath("E:\\System Temp\\");
       },
       "e:\\system temp\\"},
      {"no variable, the system call fails: hard-coded path", "temp",
       [](Machine& m) {
         m.unsetEnvironment("temp");
         m.setTempPath(std::nullopt);
       },
       "c:\\windows\\temp\\"},
      {"a short system path with a size reported is kept", "temp",
       [](Machine& m) {
         m.unsetEnvironment("temp");
         m.setTempPath("C:\\TMP\\");
       },
       "c:\\tmp\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, Profile) {
  const FolderCase cases[] = {
      {"default machine: the userprofile variable", "profile", {}, "c:\\users\\user\\"},
      {"no variable: the desktop cut to three fields", "profile",
       [](Machine& m) {
         m.unsetEnvironment("userprofile");
         m.setShellFolder(csidl::Desktop, "C:\\Documents and Settings\\User\\Desktop");
       },
       "c:\\documents and settings\\user\\"},
      {"short desktop is kept, nothing follows", "profile",
       [](Machine& m) {
         m.setEnvironment("userprofile", "C:\\U");
         m.setShellFolder(csidl::Desktop, "D:\\Desk");
       },
       "d:\\desk\\"},
      {"every source failing: a single backslash", "profile",
       [](Machine& m) {
         m.unsetEnvironment("userprofile");
         m.setShellFoldersFail(true);
       },
       "\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, Favorites) {
  const FolderCase cases[] = {
      {"default machine: the shell's folder", "favorites", {}, "c:\\users\\user\\favorites\\"},
      {"shell failing: the registry value", "favorites",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         writeRegistry(RegRoot::CurrentUser, ShellFolders, "Favorites", "D:\\Bookmarks\\Saved");
       },
       "d:\\bookmarks\\saved\\"},
      {"a short registry value is kept", "favorites",
       [](Machine& m) {
         m.setShellFolder(csidl::Favorites, "C:\\F");
         writeRegistry(RegRoot::CurrentUser, ShellFolders, "Favorites", "D:\\Fav");
       },
       "d:\\fav\\"},
      {"shell folder and registry value missing: a single backslash", "favorites",
       [](Machine& m) {
         m.removeShellFolder(csidl::Favorites);
         removeRegistryValue(RegRoot::CurrentUser, ShellFolders, "Favorites");
       },
       "\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, AllUsersDesktopAndPrograms) {
  const FolderCase cases[] = {
      {"default machine: the shell's folder, no suffix",
       "alldesktop",
       {},
       "c:\\users\\public\\desktop\\"},
      {"shell failing: the home folder's desktop", "alldesktop",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         homeOfJohn(m);
       },
       "c:\\documents and settings\\john\\desktop\\"},
      {"short shell folder: the home folder's desktop", "alldesktop",
       [](Machine& m) {
         m.setShellFolder(csidl::CommonDesktopDirectory, "C:\\Desk");
         m.setEnvironment("HOMEDRIVE", "D:");
         m.setEnvironment("HOMEPATH", "\\Users\\Ab");
       },
       "d:\\users\\ab\\desktop\\"},
      {"home of 10 characters: the all-users folder", "alldesktop",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         m.setEnvironment("HOMEDRIVE", "D:");
         m.setEnvironment("HOMEPATH", "\\Users\\A");
       },
       "c:\\documents and settings\\all users\\desktop\\"},
      {"no home: the all-users folder", "alldesktop",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         noHome(m);
       },
       "c:\\documents and settings\\all users\\desktop\\"},
      {"default machine: the shell's folder, no suffix",
       "allprograms",
       {},
       "c:\\programdata\\microsoft\\windows\\start menu\\programs\\"},
      {"shell failing: the home folder's programs", "allprograms",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         homeOfJohn(m);
       },
       "c:\\documents and settings\\john\\start menu\\programs\\"},
      {"no home: the all-users programs", "allprograms",
       [](Machine& m) {
         m.removeShellFolder(csidl::CommonPrograms);
         noHome(m);
       },
       "c:\\documents and settings\\all users\\start menu\\programs\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, AllUsersStartup) {
  const std::string allUsersStartup =
      "c:\\documents and settings\\all users\\start menu\\programs\\startup\\";
  const FolderCase cases[] = {
      {"default machine: the shell's folder, no suffix",
       "allstartup",
       {},
       "c:\\programdata\\microsoft\\windows\\start menu\\programs\\startup\\"},
      {"shell failing: the parent of the home folder", "allstartup",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         homeOfJohn(m);
       },
       allUsersStartup},
      {"no home: hard-coded parent", "allstartup",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         noHome(m);
       },
       allUsersStartup},
      {"another drive and parent", "allstartup",
       [](Machine& m) {
         m.removeShellFolder(csidl::CommonStartup);
         m.setEnvironment("HOMEDRIVE", "D:");
         m.setEnvironment("HOMEPATH", "\\Profiles\\John");
       },
       "d:\\profiles\\all users\\start menu\\programs\\startup\\"},
      {"a base of 5 characters is long enough here", "allstartup",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         m.setEnvironment("HOMEDRIVE", "C:");
         m.setEnvironment("HOMEPATH", "\\AB\\John");
       },
       "c:\\ab\\all users\\start menu\\programs\\startup\\"},
      {"a base of 4 characters is not", "allstartup",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         m.setEnvironment("HOMEDRIVE", "C:");
         m.setEnvironment("HOMEPATH", "\\A\\John");
       },
       allUsersStartup},
      {"a home path without backslash is its own first folder", "allstartup",
       [](Machine& m) {
         m.setShellFoldersFail(true);
         m.setEnvironment("HOMEDRIVE", "C:");
         m.setEnvironment("HOMEPATH", "Users");
       },
       "c:\\users\\all users\\start menu\\programs\\startup\\"},
  };
  check(cases);
}

TEST_F(TextSpecialFolder, NamesAndResultForm) {
  const FolderCase cases[] = {
      {"names fold", "AllDesktop", {}, "c:\\users\\public\\desktop\\"},
      {"names fold", "ALLDESKTOP", {}, "c:\\users\\public\\desktop\\"},
      {"names fold", "allDesktop", {}, "c:\\users\\public\\desktop\\"},
      {"names fold", "TeMp", {}, "c:\\users\\user\\appdata\\local\\temp\\"},
      {"unknown name", "fonts", {}, "c:\\"},
      {"empty name", "", {}, "c:\\"},
      {"names are not trimmed", " windows", {}, "c:\\"},
      {"only A-Z fold in the answer", "profile",
       [](Machine& m) { m.setEnvironment("userprofile", "C:\\Users\\J\xD6RG"); },
       "c:\\users\\j\xD6rg\\"},
  };
  check(cases);
}

} // namespace
