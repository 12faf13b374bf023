// What the platform layer answers alike on Windows and on the emulated machine: the calls the
// folder lookup and the registry steps rely on.
#include "platform/platform.h"
#include "unit/platform/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using platform::RegKey;
using platform::RegRoot;

class PlatformCommon : public testing::Test {
protected:
  TestMachine machine_;
};

TEST_F(PlatformCommon, UnsetEnvironmentVariableReadsEmpty) {
  EXPECT_EQ(platform::environmentVariable("QUILLFERN_SURELY_UNSET_VARIABLE_7F3A"), "");
}

TEST_F(PlatformCommon, WindowsDirectoryIsWrittenAndExists) {
  platform::WindowsDirectory windows = platform::windowsDirectory();
  EXPECT_GT(windows.written, 0u);
  EXPECT_EQ(windows.written, windows.path.size());
  EXPECT_TRUE(platform::directoryExists(windows.path)) << windows.path;
  EXPECT_FALSE(platform::fileExists(windows.path)) << windows.path;
}

TEST_F(PlatformCommon, TempPathFitsTheSizeAskedForAndEndsInABackslash) {
  std::uint32_t size = platform::tempPathSize();
  ASSERT_GT(size, 0u);
  std::string path = platform::tempPath(size);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), '\\') << path;
  EXPECT_LE(path.size() + 1, size) << path;
}

TEST_F(PlatformCommon, ProgramPathNamesAnExistingFile) {
  std::string self = platform::programPath();
  ASSERT_FALSE(self.empty());
  EXPECT_TRUE(platform::fileExists(self)) << self;
}

TEST_F(PlatformCommon, ShellFolderOfTheWindowsDirectoryExists) {
  std::string windows = platform::shellFolder(platform::csidl::Windows);
  ASSERT_FALSE(windows.empty());
  EXPECT_TRUE(platform::directoryExists(windows)) << windows;
}

// One key of its own under HKEY_CURRENT_USER, removed before and after each test.
class PlatformRegistry : public PlatformCommon {
protected:
  static constexpr const char* kBase = "Software\\QuillfernPlatformTest";
  void SetUp() override { RegKey::deleteKeyTree(RegRoot::CurrentUser, kBase); }
  void TearDown() override { RegKey::deleteKeyTree(RegRoot::CurrentUser, kBase); }
};

TEST_F(PlatformRegistry, OpenFailsForAMissingKeyAndCreateMakesIt) {
  const std::string path = std::string(kBase) + "\\App\\Settings";
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, path, false).isOpen());

  RegKey created = RegKey::open(RegRoot::CurrentUser, path, true);
  ASSERT_TRUE(created.isOpen());
  EXPECT_EQ(created.readString("NoSuchValue"), std::nullopt);
  EXPECT_EQ(platform::readRegistryString(RegRoot::CurrentUser, path, "NoSuchValue"), "");

  EXPECT_TRUE(RegKey::open(RegRoot::CurrentUser, path, false).isOpen());
  EXPECT_TRUE(RegKey::open(RegRoot::CurrentUser, std::string(kBase) + "\\App", false).isOpen());
}

TEST_F(PlatformRegistry, WrittenValuesReadBackByTheirType) {
  const std::string path = std::string(kBase) + "\\Values";
  RegKey key = RegKey::open(RegRoot::CurrentUser, path, true);
  ASSERT_TRUE(key.isOpen());
  ASSERT_TRUE(key.writeString("Path", "C:\\Apps\\Example"));
  ASSERT_TRUE(key.writeString("", "default"));
  ASSERT_TRUE(key.writeDword("Count", 12));

  RegKey reopened = RegKey::open(RegRoot::CurrentUser, path, false);
  EXPECT_EQ(reopened.readString("Path"), "C:\\Apps\\Example");
  EXPECT_EQ(reopened.readString("path"), "C:\\Apps\\Example");
  EXPECT_EQ(reopened.readString(""), "default");
  EXPECT_EQ(reopened.readString("Count"), std::nullopt); // a number is not a string
  EXPECT_EQ(platform::readRegistryString(RegRoot::CurrentUser, path, "Path"), "C:\\Apps\\Example");
}

TEST_F(PlatformRegistry, DeleteKeyTreeRemovesSubkeysAndRefusesARoot) {
  const std::string app = std::string(kBase) + "\\App";
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, app + "\\Deep\\Deeper", true).isOpen());
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, std::string(kBase) + "\\Other", true).isOpen());

  EXPECT_TRUE(RegKey::deleteKeyTree(RegRoot::CurrentUser, app));
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, app, false).isOpen());
  EXPECT_TRUE(RegKey::open(RegRoot::CurrentUser, std::string(kBase) + "\\Other", false).isOpen());
  EXPECT_FALSE(RegKey::deleteKeyTree(RegRoot::CurrentUser, app)); // already gone

  EXPECT_FALSE(RegKey::deleteKeyTree(RegRoot::CurrentUser, ""));
  EXPECT_FALSE(RegKey::deleteKeyTree(RegRoot::CurrentUser, "\\"));
  EXPECT_TRUE(RegKey::open(RegRoot::CurrentUser, "Software", false).isOpen());
}

TEST_F(PlatformRegistry, WritingIntoAKeyThatIsNotOpenFails) {
  RegKey missing = RegKey::open(RegRoot::CurrentUser, std::string(kBase) + "\\Missing", false);
  ASSERT_FALSE(missing.isOpen());
  EXPECT_FALSE(missing.writeString("Name", "value"));
  EXPECT_FALSE(missing.writeDword("Name", 1));
  EXPECT_EQ(missing.readString("Name"), std::nullopt);
}

} // namespace
