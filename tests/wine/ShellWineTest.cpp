// Shell links, started programs and short paths of the Windows build against the real system:
// a saved link is read back through the shell's own link object.
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/System.h"

#include "ShellLinkReader.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// A folder of its own in the temporary folder, removed afterwards.
class ShellOnWindows : public testing::Test {
protected:
  void SetUp() override {
    std::string temp = platform::tempPath(platform::tempPathSize());
    ASSERT_FALSE(temp.empty());
    static int counter = 0;
    do {
      dir_ = temp + "qf-shell-" + std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    } while (!platform::createDirectory(dir_));
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string at(const std::string& name) const { return dir_ + "\\" + name; }
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(at(name), std::ios::binary) << content;
  }
  // Waits for a file a started program writes; false if it never appears.
  bool waitFor(const std::string& name) const {
    for (int i = 0; i < 3000; ++i) {
      if (platform::fileExists(at(name))) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  platform::ComApartment apartment_;
  std::string dir_;
};

TEST_F(ShellOnWindows, SavedLinkReadsBackThroughTheShell) {
  ASSERT_TRUE(apartment_.entered());
  ASSERT_TRUE(platform::createDirectory(at("Example")));
  write("Example\\example.exe", "x");
  const std::string target = at("Example\\example.exe");
  const std::string folder = at("Example\\");

  ASSERT_TRUE(platform::createShellLink(at("Example.lnk"), target, folder));
  std::optional<ReadLink> read = readLink(at("Example.lnk"));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(
      CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, read->path.c_str(), -1, target.c_str(), -1),
      CSTR_EQUAL)
      << read->path << " vs " << target;
  EXPECT_EQ(read->workingDirectory, folder);

  // The installer's targets carry a doubled backslash before the file name; the link must still
  // lead to the file.
  ASSERT_TRUE(platform::createShellLink(at("Doubled.lnk"), at("Example\\\\example.exe"), folder));
  std::optional<ReadLink> doubled = readLink(at("Doubled.lnk"));
  ASSERT_TRUE(doubled.has_value());
  EXPECT_TRUE(platform::fileExists(doubled->path)) << doubled->path;
  EXPECT_EQ(doubled->workingDirectory, folder);

  // One object saved twice, the way shortcuts go to the menu and the desktop.
  platform::ShellLink link = platform::ShellLink::create();
  ASSERT_TRUE(link.isValid()) << link.error();
  ASSERT_TRUE(link.setPath(target));
  ASSERT_TRUE(link.setWorkingDirectory(folder));
  ASSERT_TRUE(link.save(at("one.lnk")));
  ASSERT_TRUE(link.save(at("two.lnk")));
  for (const char* name : {"one.lnk", "two.lnk"}) {
    std::optional<ReadLink> again = readLink(at(name));
    ASSERT_TRUE(again.has_value()) << name;
    EXPECT_EQ(again->workingDirectory, folder) << name;
  }
}

TEST_F(ShellOnWindows, StartedProgramsRunInTheirFolders) {
  ASSERT_TRUE(platform::setCurrentDirectory(dir_));
  EXPECT_TRUE(platform::winExec("cmd.exe /c echo started> winexec.txt", platform::showcmd::Hide));
  EXPECT_TRUE(waitFor("winexec.txt"));

  ASSERT_TRUE(platform::createDirectory(at("there")));
  EXPECT_TRUE(platform::shellExecute("open", "cmd.exe", "/c echo started> shell.txt", at("there"),
                                     platform::showcmd::Hide));
  EXPECT_TRUE(waitFor("there\\shell.txt"));

  EXPECT_FALSE(platform::winExec(at("absent.exe"), platform::showcmd::Hide));
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_TRUE(platform::setCurrentDirectory(system)); // leave the folder free for its removal
}

TEST_F(ShellOnWindows, ShortPathNamesTheSameFile) {
  write("a rather long file name.text", "12345");
  std::optional<std::string> shortPath =
      platform::shortPathName(at("a rather long file name.text"));
  ASSERT_TRUE(shortPath.has_value());
  EXPECT_EQ(platform::fileSize(*shortPath), 5u) << *shortPath;
}

} // namespace
