// The emulated machine's own side of the file services: where attributes are kept, how the
// current folder moves the real one, and the wildcard and full-path rules it applies.
#include "platform/FileStream.h"
#include "platform/Files.h"
#include "platform/posix/Wildcard.h"
#include "platform/posix/WindowsPath.h"
#include "unit/platform/CurrentFolderGuard.h"
#include "unit/platform/PosixMachineTest.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
namespace fa = platform::fileattr;

class FilesOnMachine : public PosixMachineTest {
protected:
  std::string storeText() const {
    std::ifstream in(root() / "attributes.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  CurrentFolderGuard currentFolder_;
};

TEST_F(FilesOnMachine, HiddenIsKeptUnderTheRootForTheNextProcess) {
  makeFile("c/Apps/Example/data.bin");
  ASSERT_TRUE(platform::setFileAttributes("C:\\apps\\example\\DATA.BIN", fa::Hidden));
  EXPECT_NE(storeText().find("c/Apps/Example/data.bin"), std::string::npos) << storeText();

  // A later process on the same root reads what this one wrote.
  machine().reset(root());
  EXPECT_EQ(platform::fileAttributes("C:\\Apps\\Example\\data.bin"), fa::Hidden);

  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\Example\\data.bin", fa::Archive));
  EXPECT_EQ(storeText().find("data.bin"), std::string::npos) << "defaults need no line";
}

TEST_F(FilesOnMachine, AFileMadeAgainByOthersDoesNotInheritOldAttributes) {
  makeFile("c/Apps/x.txt");
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\x.txt", fa::Hidden | fa::System));
  // The unzip library or a person replaces the file behind the platform's back.
  fs::remove(under("c/Apps/x.txt"));
  makeFile("c/Apps/other.txt");
  makeFile("c/Apps/x.txt", "new");
  EXPECT_EQ(platform::fileAttributes("C:\\Apps\\x.txt"), fa::Archive);
}

TEST_F(FilesOnMachine, ReadOnlyIsTheOwnersWritePermission) {
  makeFile("c/Apps/ro.txt");
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\ro.txt", fa::ReadOnly));
  fs::perms perms = fs::status(under("c/Apps/ro.txt")).permissions();
  EXPECT_EQ(perms & fs::perms::owner_write, fs::perms::none);
  EXPECT_TRUE(platform::FileStream::openRead("C:\\Apps\\ro.txt").readOnlyAttribute());
  // The host would let its owner delete it; the machine answers as Windows does.
  EXPECT_FALSE(platform::deleteFile("C:\\Apps\\ro.txt"));
  EXPECT_TRUE(fs::exists(under("c/Apps/ro.txt")));

  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\ro.txt", fa::Normal));
  perms = fs::status(under("c/Apps/ro.txt")).permissions();
  EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

TEST_F(FilesOnMachine, CopyKeepsTheHostPermissionsSoProgramsStayRunnable) {
  makeFile("c/Source/setup.exe", "#!/bin/sh\n");
  fs::permissions(under("c/Source/setup.exe"), fs::perms::owner_all | fs::perms::group_read);
  makeFolder("c/WINDOWS/$qfUninstallV1$");
  ASSERT_TRUE(platform::copyFile("C:\\Source\\setup.exe", "c:\\windows\\$qfuninstallv1$\\setup.exe",
                                 false));
  fs::path copy = under("c/WINDOWS/$qfUninstallV1$/setup.exe");
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(fs::status(copy).permissions(), fs::perms::owner_all | fs::perms::group_read);
  // No temporary file is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(copy.parent_path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(FilesOnMachine, AttributesReadBackExactly) {
  makeFile("c/Apps/file.txt");
  EXPECT_EQ(platform::fileAttributes("C:\\Apps\\file.txt"), fa::Archive) << "a new file";
  struct Case {
    std::uint32_t set;
    std::uint32_t read;
  };
  const Case cases[] = {
      {fa::Hidden, fa::Hidden},
      {fa::Normal, fa::Normal},
      {fa::ReadOnly, fa::ReadOnly},
      {fa::Archive | fa::ReadOnly, fa::Archive | fa::ReadOnly},
      {fa::Normal | fa::Hidden, fa::Hidden}, // Normal counts only alone
      {fa::Directory | fa::Archive, fa::Archive},
      {fa::Temporary | fa::NotContentIndexed, fa::Temporary | fa::NotContentIndexed},
      {0, fa::Normal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "set 0x" << std::hex << c.set);
    ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\file.txt", c.set));
    EXPECT_EQ(platform::fileAttributes("C:\\Apps\\file.txt"), c.read);
  }
  makeFolder("c/Apps/Folder");
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\Folder", fa::ReadOnly | fa::Hidden));
  EXPECT_EQ(platform::fileAttributes("C:\\Apps\\Folder"),
            fa::Directory | fa::ReadOnly | fa::Hidden);
  // A read-only folder still takes new files, as on Windows.
  EXPECT_NE(fs::status(under("c/Apps/Folder")).permissions() & fs::perms::owner_write,
            fs::perms::none);
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\Folder", fa::Normal));
  EXPECT_EQ(platform::fileAttributes("C:\\Apps\\Folder"), fa::Directory);
}

TEST_F(FilesOnMachine, CopyNeverReplacesReadOnlyOrHiddenFiles) {
  makeFile("c/Apps/from.txt", "new");
  for (std::uint32_t attributes : {fa::ReadOnly, fa::Hidden, fa::Hidden | fa::System}) {
    SCOPED_TRACE(attributes);
    makeFile("c/Apps/to.txt", "old");
    ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\to.txt", attributes));
    EXPECT_FALSE(platform::copyFile("C:\\Apps\\from.txt", "C:\\Apps\\to.txt", false));
    std::ifstream in(under("c/Apps/to.txt"));
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "old");
    ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\to.txt", fa::Normal));
    fs::remove(under("c/Apps/to.txt"));
  }
}

TEST_F(FilesOnMachine, DeleteFileRemovesTheAttributeLine) {
  makeFile("c/Apps/h.txt");
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\h.txt", fa::Hidden));
  ASSERT_TRUE(platform::deleteFile("C:\\Apps\\h.txt"));
  EXPECT_EQ(storeText().find("h.txt"), std::string::npos) << storeText();
}

struct CurrentCase {
  const char* start;
  const char* change;
  const char* current;
};

TEST_F(FilesOnMachine, CurrentDirectoryMovesTheProcessAlong) {
  makeFolder("c/Apps/Tool");
  makeFolder("c/Users");
  makeFolder("d/Data");
  const CurrentCase cases[] = {
      {"C:\\", "C:\\Apps\\\\Tool\\", "C:\\Apps\\Tool"},
      {"C:\\Apps", "Tool", "C:\\Apps\\Tool"},
      {"C:\\Apps\\Tool", "..", "C:\\Apps"},
      {"C:\\Apps\\Tool", "\\Users", "C:\\Users"},
      {"C:\\Apps", "c:tool", "C:\\Apps\\tool"},
      {"C:\\Apps", "C:\\APPS\\TOOL", "C:\\APPS\\TOOL"},
      {"C:\\Apps", "d:\\data\\.\\", "d:\\data"},
      {"C:\\Apps", "C:\\Apps\\Tool\\..\\..\\..\\..", "C:\\"},
  };
  for (const CurrentCase& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " + " + c.change);
    ASSERT_TRUE(platform::setCurrentDirectory(c.start));
    ASSERT_TRUE(platform::setCurrentDirectory(c.change));
    EXPECT_EQ(platform::currentDirectory(), c.current);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), machine().hostPath(c.current)));
  }

  ASSERT_TRUE(platform::setCurrentDirectory("C:\\Apps"));
  makeFile("c/Apps/file.txt");
  for (const char* bad : {"C:\\Apps\\Absent", "file.txt", "", "E:\\"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(platform::setCurrentDirectory(bad));
    EXPECT_EQ(platform::currentDirectory(), "C:\\Apps");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), under("c/Apps")));
  }
}

TEST(FullPathName, RelativeFormsAreTakenFromTheCurrentFolder) {
  struct Case {
    const char* text;
    const char* current;
    const char* full;
  };
  const Case cases[] = {
      {"C:\\a\\\\b\\", "C:\\", "C:\\a\\b"},
      {"c:\\", "C:\\x", "c:\\"},
      {"C:", "C:\\x", "C:\\x"},
      {"D:", "C:\\x", "D:\\"},
      {"d:y", "D:\\x", "D:\\x\\y"},
      {"\\top", "D:\\x\\y", "D:\\top"},
      {"sub\\..\\..\\..\\z", "C:\\x", "C:\\z"},
      {"\\\\srv\\share\\a\\..\\..", "C:\\", "\\\\srv\\share"},
      {"\\rest", "\\\\srv\\share\\a", "\\\\srv\\share\\rest"},
      {"rel", "/host/folder", "C:\\rel"},
      {"/host//x/", "C:\\", "/host/x"},
      {"", "C:\\x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + c.current);
    EXPECT_EQ(platform::posix::fullPathName(c.text, c.current), c.full);
  }
}

TEST(Wildcard, TheSystemsMaskRules) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Case cases[] = {
      {"README.TXT", "readme.txt", true},
      {"readme.txt", "readme.tx", false},
      {"a.txt", "*.txt", true},
      {"a.b.txt", "*.txt", true},
      {"a.txt.bak", "*.txt", false},
      {".txt", "*.txt", true},
      {"readme", "*.*", true},
      {"a.b.c", "*.*", true},
      {"readme", "*.", true},
      {"read.me", "*.", false},
      {"readme", "readme.*", true},
      {"readme.md", "readme.*", true},
      {"a.txt", "a?.txt", true},
      {"ab.txt", "a?.txt", true},
      {"abc.txt", "a?.txt", false},
      {"ab", "a??", true},
      {"abcd", "a??", false},
      {"x", "?", true},
      {"ab", "*b*", true},
      {"aXbXc", "a*b*c", true},
      {"aXbXd", "a*b*c", false},
      {"file1.dat", "file?.dat", true},
      {"file12.dat", "file?.dat", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
    EXPECT_EQ(platform::posix::matchesMask(c.name, c.mask), c.matches);
  }
  // Long names against many stars finish (the matcher remembers what it tried).
  EXPECT_FALSE(platform::posix::matchesMask(std::string(200, 'a'), "*a*a*a*a*a*a*a*a*b"));
}

} // namespace
