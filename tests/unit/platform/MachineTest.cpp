// The emulated machine's settings as the platform calls answer them: environment, shell folders,
// Windows and temp directories, colours, clocks, its root, its default folders and file tests.
#include "unit/platform/PosixMachineTest.h"

#include "platform/platform.h"

#include <stdlib.h>

#include <optional>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace csidl = platform::csidl;

using Machine = PosixMachineTest;

struct NameValue {
  std::string name;
  std::string value;
};

TEST_F(Machine, EnvironmentFollowsACurrentWindowsLayout) {
  const NameValue cases[] = {
      {"windir", "C:\\WINDOWS"},
      {"SystemRoot", "C:\\WINDOWS"},
      {"SystemDrive", "C:"},
      {"TEMP", "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"TMP", "C:\\Users\\User\\AppData\\Local\\Temp"},
      {"USERPROFILE", "C:\\Users\\User"},
      {"HOMEDRIVE", "C:"},
      {"HOMEPATH", "\\Users\\User"},
      {"USERNAME", "User"},
      {"ProgramFiles", "C:\\Program Files"},
      {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"PUBLIC", "C:\\Users\\Public"},
      {"APPDATA", "C:\\Users\\User\\AppData\\Roaming"},
      {"LOCALAPPDATA", "C:\\Users\\User\\AppData\\Local"},
  };
  for (const NameValue& c : cases)
    EXPECT_EQ(platform::environmentVariable(c.name), c.value) << c.name;
  EXPECT_FALSE(platform::environmentVariable("COMPUTERNAME").empty());
}

TEST_F(Machine, EnvironmentNamesFoldOnlyLettersAToZ) {
  for (const char* name : {"WINDIR", "windir", "WinDir"})
    EXPECT_EQ(platform::environmentVariable(name), "C:\\WINDOWS") << name;

  machine().setEnvironment("temp", "D:\\Scratch");
  EXPECT_EQ(platform::environmentVariable("TEMP"), "D:\\Scratch");
  machine().unsetEnvironment("Temp");
  EXPECT_EQ(platform::environmentVariable("TEMP"), "");
  EXPECT_EQ(platform::environmentVariable("tmp"), "C:\\Users\\User\\AppData\\Local\\Temp");

  machine().setEnvironment("\xC4X", "upper");
  EXPECT_EQ(platform::environmentVariable("\xC4x"), "upper");
  EXPECT_EQ(platform::environmentVariable("\xE4X"), "");
}

TEST_F(Machine, HostEnvironmentStaysOutside) {
  ASSERT_EQ(setenv("QF_HOST_ONLY_VARIABLE", "host", 1), 0);
  EXPECT_EQ(platform::environmentVariable("QF_HOST_ONLY_VARIABLE"), "");
  EXPECT_EQ(platform::environmentVariable("HOME"), "");
  EXPECT_EQ(platform::environmentVariable("QUILLFERN_ROOT"), "");
  unsetenv("QF_HOST_ONLY_VARIABLE");
}

struct FolderCase {
  int csidl;
  std::string path;
};

TEST_F(Machine, ShellFoldersFollowACurrentWindowsLayout) {
  const FolderCase cases[] = {
      {csidl::Desktop, "C:\\Users\\User\\Desktop"},
      {csidl::DesktopDirectory, "C:\\Users\\User\\Desktop"},
      {csidl::Programs,
       "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
      {csidl::Favorites, "C:\\Users\\User\\Favorites"},
      {csidl::Startup,
       "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {csidl::CommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
      {csidl::CommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
      {csidl::CommonStartup, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {csidl::CommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
      {csidl::AppData, "C:\\Users\\User\\AppData\\Roaming"},
      {csidl::Windows, "C:\\WINDOWS"},
      {csidl::System, "C:\\WINDOWS\\system32"},
      {csidl::ProgramFiles, "C:\\Program Files"},
      {csidl::Profile, "C:\\Users\\User"},
      {csidl::ProgramFilesX86, "C:\\Program Files (x86)"},
  };
  for (const FolderCase& c : cases) {
    EXPECT_EQ(platform::shellFolder(c.csidl), c.path) << c.csidl;
    EXPECT_TRUE(platform::directoryExists(c.path)) << c.path;
  }
  EXPECT_EQ(platform::shellFolder(9999), "");
}

TEST_F(Machine, ShellFolderServiceCanFailAsAWhole) {
  machine().setShellFoldersFail(true);
  for (int id : {csidl::Desktop, csidl::System, csidl::ProgramFiles, csidl::CommonStartup})
    EXPECT_EQ(platform::shellFolder(id), "") << id;
  machine().setShellFoldersFail(false);
  EXPECT_EQ(platform::shellFolder(csidl::System), "C:\\WINDOWS\\system32");
}

TEST_F(Machine, ShellFolderOverridesAndTheBufferLimit) {
  machine().removeShellFolder(csidl::Favorites);
  EXPECT_EQ(platform::shellFolder(csidl::Favorites), "");

  // A path must fit MAX_PATH with its terminating zero; a longer one fails, it is never cut.
  std::string longest = "C:\\" + std::string(256, 'x');
  ASSERT_EQ(longest.size(), 259u);
  machine().setShellFolder(csidl::Favorites, longest);
  EXPECT_EQ(platform::shellFolder(csidl::Favorites), longest);
  machine().setShellFolder(csidl::Favorites, longest + "y");
  EXPECT_EQ(platform::shellFolder(csidl::Favorites), "");
}

TEST_F(Machine, WindowsDirectoryReportsWhatWasWritten) {
  platform::WindowsDirectory windows = platform::windowsDirectory();
  EXPECT_EQ(windows.path, "C:\\WINDOWS");
  EXPECT_EQ(windows.written, 10u);

  machine().setWindowsDirectory("", 0);
  windows = platform::windowsDirectory();
  EXPECT_EQ(windows.path, "");
  EXPECT_EQ(windows.written, 0u);

  machine().setWindowsDirectory(std::string("C:\\WIN\0junk", 11), 6);
  EXPECT_EQ(platform::windowsDirectory().path, "C:\\WIN");

  // Too long for the buffer: nothing written, the size needed reported.
  machine().setWindowsDirectory("C:\\" + std::string(300, 'w'), 303);
  windows = platform::windowsDirectory();
  EXPECT_EQ(windows.path, "");
  EXPECT_EQ(windows.written, 304u);
}

TEST_F(Machine, TempPathSizeCountsTheZeroAndASmallBufferGetsNothing) {
  const std::string temp = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  std::uint32_t size = platform::tempPathSize();
  EXPECT_EQ(size, temp.size() + 1);
  EXPECT_EQ(platform::tempPath(size), temp);
  EXPECT_EQ(platform::tempPath(size + 10), temp);
  EXPECT_EQ(platform::tempPath(size - 1), "");
  EXPECT_EQ(platform::tempPath(0), "");

  machine().setTempPath("T:\\");
  EXPECT_EQ(platform::tempPathSize(), 4u);
  EXPECT_EQ(platform::tempPath(4), "T:\\");

  machine().setTempPath(std::nullopt);
  EXPECT_EQ(platform::tempPathSize(), 0u);
  EXPECT_EQ(platform::tempPath(100), "");
}

TEST_F(Machine, TickCountComesFromItsSource) {
  std::uint32_t first = platform::tickCount();
  EXPECT_GE(platform::tickCount(), first); // a steady clock (a wrap within one test is not met)

  std::vector<std::uint32_t> ticks{0xFFFFFFF0u, 0xFFFFFFFFu, 5u};
  std::size_t next = 0;
  machine().setTickSource([&] { return ticks[next++ % ticks.size()]; });
  EXPECT_EQ(platform::tickCount(), 0xFFFFFFF0u);
  EXPECT_EQ(platform::tickCount(), 0xFFFFFFFFu);
  EXPECT_EQ(platform::tickCount(), 5u);
}

TEST_F(Machine, SystemColoursOfACurrentWindows) {
  EXPECT_EQ(platform::systemColor(platform::syscolor::BtnFace), 0x00F0F0F0u);
  EXPECT_EQ(platform::systemColor(platform::syscolor::WindowText), 0u);
  EXPECT_EQ(platform::systemColor(13 /* highlight */), 0x00D77800u);
  EXPECT_EQ(platform::systemColor(5 /* window */), 0x00FFFFFFu);
  for (int unknown : {-1, 31, 1000}) EXPECT_EQ(platform::systemColor(unknown), 0u) << unknown;

  machine().setSystemColor(platform::syscolor::BtnFace, 0x00123456u);
  EXPECT_EQ(platform::systemColor(platform::syscolor::BtnFace), 0x00123456u);
}

TEST_F(Machine, ProgramPathIsTheRunningExecutableUnlessSet) {
  EXPECT_EQ(fs::path(platform::programPath()), fs::read_symlink("/proc/self/exe"));
  machine().setProgramPath("D:\\Setup\\setup.exe");
  EXPECT_EQ(platform::programPath(), "D:\\Setup\\setup.exe");
}

TEST_F(Machine, ResetRestoresEveryDefault) {
  machine().setEnvironment("windir", "X:\\");
  machine().setShellFoldersFail(true);
  machine().setWindowsDirectory("", 0);
  machine().setTempPath(std::nullopt);
  machine().setTickSource([] { return 7u; });
  machine().setSystemColor(platform::syscolor::BtnFace, 1);
  machine().setProgramPath("D:\\setup.exe");
  machine().setCurrentDirectory("D:\\work");

  machine().reset(root());
  EXPECT_EQ(platform::environmentVariable("windir"), "C:\\WINDOWS");
  EXPECT_EQ(platform::shellFolder(csidl::System), "C:\\WINDOWS\\system32");
  EXPECT_EQ(platform::windowsDirectory().written, 10u);
  EXPECT_GT(platform::tempPathSize(), 0u);
  EXPECT_EQ(platform::systemColor(platform::syscolor::BtnFace), 0x00F0F0F0u);
  EXPECT_NE(platform::programPath(), "D:\\setup.exe");
  EXPECT_EQ(machine().currentDirectory(), "C:\\");
  EXPECT_NE(platform::tickCount(), 7u); // the host clock again
}

TEST_F(Machine, FreshRootHasTheDefaultFoldersAndRemovedOnesStayRemoved) {
  const char* folders[] = {
      "C:\\WINDOWS",
      "C:\\WINDOWS\\system32",
      "C:\\Users\\User\\AppData\\Local\\Temp",
      "C:\\Program Files",
      "C:\\Program Files (x86)",
      "C:\\Users\\User",
      "C:\\Users\\User\\Desktop",
      "C:\\Users\\User\\Favorites",
      "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
      "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
      "C:\\Users\\Public\\Desktop",
  };
  for (const char* folder : folders) EXPECT_TRUE(platform::directoryExists(folder)) << folder;
  EXPECT_TRUE(fs::is_regular_file(root() / "registry.reg"));

  fs::remove_all(under("c/Program Files (x86)"));
  EXPECT_FALSE(platform::directoryExists("C:\\Program Files (x86)"));
  EXPECT_TRUE(platform::directoryExists("C:\\Program Files"));
}

struct ExistsCase {
  std::string path;
  bool directory;
  bool file;
};

TEST_F(Machine, FileAndFolderTests) {
  makeFile("c/Apps/Tool/Tool.exe");
  const ExistsCase cases[] = {
      {"C:\\Apps\\Tool", true, false},
      {"c:\\apps\\TOOL\\", true, false},
      {"C:\\Apps\\Tool\\Tool.exe", false, true},
      {"C:\\APPS\\tool\\tool.EXE", false, true},
      {"C:\\Apps\\Tool\\Tool.exe\\", false, false}, // a file is not a folder
      {"C:\\Apps\\Tool\\Missing.exe", false, false},
      {"D:\\Apps", false, false},
      {"", false, false},
      {(root() / "c/Apps/Tool/Tool.exe").string(), false, true}, // host path
  };
  for (const ExistsCase& c : cases) {
    EXPECT_EQ(platform::directoryExists(c.path), c.directory) << c.path;
    EXPECT_EQ(platform::fileExists(c.path), c.file) << c.path;
  }
  machine().setCurrentDirectory("C:\\Apps");
  EXPECT_TRUE(platform::fileExists("Tool\\Tool.exe"));
  EXPECT_TRUE(platform::directoryExists("\\Apps\\Tool"));
}

// Restores one host environment variable when the test ends.
class HostVariable {
public:
  explicit HostVariable(const char* name) : name_(name) {
    if (const char* value = getenv(name)) saved_ = value;
  }
  ~HostVariable() {
    if (saved_)
      setenv(name_, saved_->c_str(), 1);
    else
      unsetenv(name_);
  }
  void set(const char* value) const {
    if (value)
      setenv(name_, value, 1);
    else
      unsetenv(name_);
  }

private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST(MachineRoot, TakenFromTheHostEnvironment) {
  HostVariable root("QUILLFERN_ROOT"), data("XDG_DATA_HOME"), home("HOME");
  struct Case {
    const char* root;
    const char* data;
    const char* home;
    fs::path expected;
  };
  const Case cases[] = {
      {"/srv/machine", "/data", "/home/u", "/srv/machine"},
      {nullptr, "/data", "/home/u", "/data/quillfern/machine"},
      {"", "/data", "/home/u", "/data/quillfern/machine"},
      {nullptr, nullptr, "/home/u", "/home/u/.local/share/quillfern/machine"},
      {nullptr, "relative/data", "/home/u", "/home/u/.local/share/quillfern/machine"},
  };
  for (const Case& c : cases) {
    root.set(c.root);
    data.set(c.data);
    home.set(c.home);
    EXPECT_EQ(platform::posix::Machine::rootFromEnvironment(), c.expected)
        << (c.root ? c.root : "-") << " " << (c.data ? c.data : "-");
  }
  root.set("relative/root");
  EXPECT_EQ(platform::posix::Machine::rootFromEnvironment(), fs::absolute("relative/root"));
}

} // namespace
