// Files, attributes, listing, the current folder, shell links and the recycle bin as both builds
// answer them: the real system on Windows (under Wine in CI), the emulated machine elsewhere.
#include "platform/PathRules.h"
#include "platform/platform.h"
#include "unit/platform/CurrentFolderGuard.h"
#include "unit/platform/ScratchFolder.h"
#include "unit/platform/TestMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace fa = platform::fileattr;

class FileOperations : public testing::Test {
protected:
  CurrentFolderGuard currentFolder_;
  TestMachine machine_;
  ScratchFolder dir_;
};

TEST_F(FileOperations, CreateDirectoryMakesOneLevelOnly) {
  EXPECT_TRUE(platform::createDirectory(dir_ / "new"));
  EXPECT_TRUE(platform::directoryExists(dir_ / "new"));
  EXPECT_FALSE(platform::createDirectory(dir_ / "new")) << "it exists already";

  EXPECT_FALSE(platform::createDirectory(dir_ / "missing\\below"));
  EXPECT_FALSE(platform::directoryExists(dir_ / "missing"));

  dir_.writeFile("file", "x");
  EXPECT_FALSE(platform::createDirectory(dir_ / "file")) << "a file holds the name";

  EXPECT_TRUE(platform::createDirectory(dir_ / "trailing\\"));
  EXPECT_TRUE(platform::directoryExists(dir_ / "trailing"));
  EXPECT_FALSE(platform::createDirectory(""));
}

// (Windows also refuses to replace a read-only or hidden file; Wine, which runs these tests on
// the Windows build, does not, so that case is a test of the emulated machine alone.)
enum class Existing { None, Plain, Folder };

struct CopyCase {
  const char* name;
  Existing existing;
  bool failIfExists;
  bool copied;
};

TEST_F(FileOperations, CopyFileOverExistingDestinations) {
  const CopyCase cases[] = {
      {"fresh destination", Existing::None, false, true},
      {"fresh destination, fail if exists", Existing::None, true, true},
      {"existing, replaced", Existing::Plain, false, true},
      {"existing, fail if exists", Existing::Plain, true, false},
      {"a folder in the way", Existing::Folder, false, false},
  };
  int n = 0;
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string to = "to" + std::to_string(++n) + ".txt";
    dir_.writeFile("from.txt", "new content");
    if (c.existing == Existing::Folder) {
      ASSERT_TRUE(platform::createDirectory(dir_ / to));
    } else if (c.existing != Existing::None) {
      dir_.writeFile(to, "old");
    }

    EXPECT_EQ(platform::copyFile(dir_ / "from.txt", dir_ / to, c.failIfExists), c.copied);
    if (c.existing == Existing::Folder) {
      EXPECT_TRUE(platform::directoryExists(dir_ / to));
    } else if (c.copied) {
      EXPECT_EQ(dir_.readFile(to), "new content");
    } else {
      EXPECT_EQ(dir_.readFile(to), "old");
    }
    EXPECT_EQ(dir_.readFile("from.txt"), "new content");
  }
}

TEST_F(FileOperations, CopyFileRefusesWhatCannotBeCopied) {
  dir_.writeFile("self.txt", "must survive");
  EXPECT_FALSE(platform::copyFile(dir_ / "self.txt", dir_ / "self.txt", false));
  EXPECT_EQ(dir_.readFile("self.txt"), "must survive");
  // The same file under another spelling is still the same file.
  EXPECT_FALSE(platform::copyFile(dir_ / "self.txt", dir_ / "SELF.TXT", false));
  EXPECT_EQ(dir_.readFile("self.txt"), "must survive");

  EXPECT_FALSE(platform::copyFile(dir_ / "absent.txt", dir_ / "copy.txt", false));
  EXPECT_FALSE(platform::fileExists(dir_ / "copy.txt"));

  EXPECT_FALSE(platform::copyFile(dir_ / "self.txt", dir_ / "no folder\\copy.txt", false));

  ASSERT_TRUE(platform::createDirectory(dir_ / "folder"));
  EXPECT_FALSE(platform::copyFile(dir_ / "folder", dir_ / "folder copy", false));
  EXPECT_FALSE(platform::directoryExists(dir_ / "folder copy"));
  EXPECT_FALSE(platform::fileExists(dir_ / "folder copy"));
}

TEST_F(FileOperations, CopyFileCarriesContentAndAttributes) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 256);
  dir_.writeFile("big.bin", bytes);
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "big.bin", fa::Hidden | fa::ReadOnly));

  ASSERT_TRUE(platform::copyFile(dir_ / "big.bin", dir_ / "copy.bin", true));
  EXPECT_EQ(dir_.readFile("copy.bin"), bytes);
  EXPECT_EQ(platform::fileSize(dir_ / "copy.bin"), bytes.size());
  std::optional<std::uint32_t> attributes = platform::fileAttributes(dir_ / "copy.bin");
  ASSERT_TRUE(attributes.has_value());
  EXPECT_TRUE(*attributes & fa::Hidden) << std::hex << *attributes;
  EXPECT_TRUE(*attributes & fa::ReadOnly) << std::hex << *attributes;
}

struct AttributeCase {
  std::uint32_t set;
  std::uint32_t read;
};

// Wine reports every file as archived; Windows and the emulated machine keep the bit as set. The
// exact archive and normal bits are checked on the emulated machine only.
std::optional<std::uint32_t> withoutArchive(std::optional<std::uint32_t> attributes) {
  if (attributes) *attributes &= ~(fa::Archive | fa::Normal);
  return attributes;
}

TEST_F(FileOperations, FileAttributesReadBackAsSet) {
  dir_.writeFile("file.txt", "x");
  std::optional<std::uint32_t> fresh = platform::fileAttributes(dir_ / "file.txt");
  ASSERT_TRUE(fresh.has_value());
  EXPECT_EQ(*fresh & (fa::Directory | fa::Hidden | fa::ReadOnly | fa::System), 0u);

  const AttributeCase cases[] = {
      {fa::Hidden, fa::Hidden},
      {fa::Hidden | fa::ReadOnly, fa::Hidden | fa::ReadOnly},
      {fa::Archive, fa::Archive},
      {fa::System | fa::Hidden | fa::Archive, fa::System | fa::Hidden | fa::Archive},
      {fa::Normal, fa::Normal},
      {fa::ReadOnly, fa::ReadOnly},
      {fa::Normal, fa::Normal}, // clears read-only again
  };
  for (const AttributeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "set 0x" << std::hex << c.set);
    ASSERT_TRUE(platform::setFileAttributes(dir_ / "file.txt", c.set));
    EXPECT_EQ(withoutArchive(platform::fileAttributes(dir_ / "file.txt")), withoutArchive(c.read));
  }

  ASSERT_TRUE(platform::createDirectory(dir_ / "folder"));
  EXPECT_EQ(platform::fileAttributes(dir_ / "folder"), fa::Directory);
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "folder", fa::Hidden));
  EXPECT_EQ(platform::fileAttributes(dir_ / "folder"), fa::Hidden | fa::Directory);
  EXPECT_TRUE(platform::directoryExists(dir_ / "folder"));

  EXPECT_EQ(platform::fileAttributes(dir_ / "absent"), std::nullopt);
  EXPECT_FALSE(platform::setFileAttributes(dir_ / "absent", fa::Hidden));
  EXPECT_FALSE(platform::fileExists(dir_ / "absent"));
}

TEST_F(FileOperations, DeleteFileTakesFilesOnlyAndRespectsReadOnly) {
  dir_.writeFile("gone.txt", "x");
  EXPECT_TRUE(platform::deleteFile(dir_ / "gone.txt"));
  EXPECT_FALSE(platform::fileExists(dir_ / "gone.txt"));
  EXPECT_FALSE(platform::deleteFile(dir_ / "gone.txt"));

  ASSERT_TRUE(platform::createDirectory(dir_ / "folder"));
  EXPECT_FALSE(platform::deleteFile(dir_ / "folder"));
  EXPECT_TRUE(platform::directoryExists(dir_ / "folder"));

  dir_.writeFile("hidden.txt", "x");
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "hidden.txt", fa::Hidden | fa::System));
  EXPECT_TRUE(platform::deleteFile(dir_ / "hidden.txt"));
  EXPECT_FALSE(platform::fileExists(dir_ / "hidden.txt"));

  dir_.writeFile("locked.txt", "x");
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "locked.txt", fa::ReadOnly));
  EXPECT_FALSE(platform::deleteFile(dir_ / "locked.txt"));
  EXPECT_TRUE(platform::fileExists(dir_ / "locked.txt"));
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "locked.txt", fa::Normal));
  EXPECT_TRUE(platform::deleteFile(dir_ / "locked.txt"));
}

struct ListCase {
  const char* mask;
  std::vector<std::string> names;
};

TEST_F(FileOperations, ListFilesMatchesMasksAndSortsByName) {
  for (const char* name : {"a.txt", "B.TXT", "notes.txt.bak", "readme", "h.txt"})
    dir_.writeFile(name, "x");
  ASSERT_TRUE(platform::setFileAttributes(dir_ / "h.txt", fa::Hidden | fa::System));
  ASSERT_TRUE(platform::createDirectory(dir_ / "d.txt"));
  dir_.writeFile("d.txt\\inner.txt", "x");

  const std::vector<std::string> all = {"a.txt", "B.TXT", "h.txt", "notes.txt.bak", "readme"};
  const ListCase cases[] = {
      {"*.txt", {"a.txt", "B.TXT", "h.txt"}},
      {"*.TXT", {"a.txt", "B.TXT", "h.txt"}},
      {"?.txt", {"a.txt", "B.TXT", "h.txt"}},
      {"*.*", all},
      {"*", all},
      {"README", {"readme"}},
      {"notes.txt", {}},
      {"*.bak;readme", {"notes.txt.bak", "readme"}},
      {"*.txt;a.*", {"a.txt", "B.TXT", "h.txt"}},
      {"inner.txt", {}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(platform::listFiles(dir_.path(), c.mask), c.names);
  }
  EXPECT_EQ(platform::listFiles(dir_.path() + "\\", "*.txt"),
            (std::vector<std::string>{"a.txt", "B.TXT", "h.txt"}));
  EXPECT_EQ(platform::listFiles(dir_ / "d.txt", "*.*"), std::vector<std::string>{"inner.txt"});
  EXPECT_TRUE(platform::listFiles(dir_ / "absent", "*.*").empty());
}

TEST_F(FileOperations, CurrentDirectoryIsTheBaseOfRelativePaths) {
  ASSERT_TRUE(platform::createDirectory(dir_ / "sub"));
  dir_.writeFile("sub\\here.txt", "x");

  ASSERT_TRUE(platform::setCurrentDirectory(dir_.path()));
  EXPECT_EQ(platform::currentDirectory(), dir_.path());
  EXPECT_TRUE(platform::directoryExists("sub"));
  EXPECT_TRUE(platform::fileExists("sub\\here.txt"));

  ASSERT_TRUE(platform::setCurrentDirectory("sub"));
  EXPECT_EQ(platform::currentDirectory(), dir_ / "sub");
  EXPECT_TRUE(platform::fileExists("here.txt"));
  EXPECT_TRUE(platform::createDirectory("made here"));
  EXPECT_TRUE(platform::directoryExists(dir_ / "sub\\made here"));

  ASSERT_TRUE(platform::setCurrentDirectory(".."));
  EXPECT_EQ(platform::currentDirectory(), dir_.path());

  // A path with a doubled separator and a trailing one names the same folder.
  ASSERT_TRUE(platform::setCurrentDirectory(dir_.path() + "\\\\sub\\"));
  EXPECT_EQ(platform::currentDirectory(), dir_ / "sub");

  EXPECT_FALSE(platform::setCurrentDirectory(dir_ / "absent"));
  EXPECT_FALSE(platform::setCurrentDirectory(dir_ / "sub\\here.txt"));
  EXPECT_FALSE(platform::setCurrentDirectory(""));
  EXPECT_EQ(platform::currentDirectory(), dir_ / "sub");
}

TEST_F(FileOperations, FileSizeAndShortPathOfExistingFilesOnly) {
  dir_.writeFile("five.txt", "12345");
  dir_.writeFile("empty.txt", "");
  EXPECT_EQ(platform::fileSize(dir_ / "five.txt"), 5u);
  EXPECT_EQ(platform::fileSize(dir_ / "empty.txt"), 0u);
  EXPECT_EQ(platform::fileSize(dir_ / "absent.txt"), std::nullopt);
  EXPECT_EQ(platform::fileSize(dir_.path()), std::nullopt);

  dir_.writeFile("a long file name.txt", "123");
  std::optional<std::string> shortPath = platform::shortPathName(dir_ / "a long file name.txt");
  ASSERT_TRUE(shortPath.has_value());
  EXPECT_EQ(platform::fileSize(*shortPath), 3u) << *shortPath;
  EXPECT_EQ(platform::shortPathName(dir_ / "absent.txt"), std::nullopt);
}

TEST_F(FileOperations, ShellLinksNeedAnApartment) {
  dir_.writeFile("app.exe", "x");
  EXPECT_FALSE(platform::ShellLink::create().isValid());
  EXPECT_FALSE(platform::createShellLink(dir_ / "early.lnk", dir_ / "app.exe", dir_.path()));
  EXPECT_FALSE(platform::fileExists(dir_ / "early.lnk"));

  platform::ComApartment apartment;
  ASSERT_TRUE(apartment.entered());
  EXPECT_TRUE(platform::createShellLink(dir_ / "app.lnk", dir_ / "app.exe", dir_.path() + "\\"));
  EXPECT_TRUE(platform::fileExists(dir_ / "app.lnk"));
  EXPECT_FALSE(
      platform::createShellLink(dir_ / "absent\\app.lnk", dir_ / "app.exe", dir_.path() + "\\"));

  // One object saved in several places, as the shortcut step does.
  platform::ShellLink link = platform::ShellLink::create();
  ASSERT_TRUE(link.isValid()) << link.error();
  ASSERT_TRUE(link.setPath(dir_ / "app.exe"));
  ASSERT_TRUE(link.setWorkingDirectory(dir_.path() + "\\"));
  ASSERT_TRUE(platform::createDirectory(dir_ / "menu"));
  EXPECT_TRUE(link.save(dir_ / "one.lnk"));
  EXPECT_TRUE(link.save(dir_ / "menu\\two.lnk"));
  EXPECT_TRUE(platform::fileExists(dir_ / "one.lnk"));
  EXPECT_TRUE(platform::fileExists(dir_ / "menu\\two.lnk"));
}

TEST_F(FileOperations, RecycleBinTakesFilesAndWholeFolders) {
  ASSERT_TRUE(platform::createDirectory(dir_ / "app"));
  ASSERT_TRUE(platform::createDirectory(dir_ / "app\\docs"));
  dir_.writeFile("app\\docs\\manual.txt", "x");
  dir_.writeFile("app\\readme.txt", "x");
  dir_.writeFile("single.txt", "x");

  EXPECT_TRUE(platform::shellDeleteToRecycleBin(dir_ / "single.txt"));
  EXPECT_FALSE(platform::fileExists(dir_ / "single.txt"));
  EXPECT_TRUE(platform::shellDeleteToRecycleBin(dir_ / "app"));
  EXPECT_FALSE(platform::directoryExists(dir_ / "app"));

  EXPECT_FALSE(platform::shellDeleteToRecycleBin(dir_ / "app"));
  EXPECT_FALSE(platform::shellDeleteToRecycleBin(dir_ / "absent.txt"));
}

TEST_F(FileOperations, RecycleBinRefusesWildcardsAndRoots) {
  dir_.writeFile("keep.txt", "x");
  for (const std::string& path :
       {dir_ / "*.txt", dir_ / "kee?.txt", std::string(), std::string("C:\\"), std::string("C:"),
        dir_ / "..\\..\\..\\..\\..\\..\\..\\.."}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(platform::shellDeleteToRecycleBin(path));
  }
  EXPECT_TRUE(platform::fileExists(dir_ / "keep.txt"));
  EXPECT_TRUE(platform::directoryExists("C:\\"));
}

TEST(PathRules, RootsAndWildcardsAreRecognised) {
  struct Case {
    const char* path;
    bool rootOrNothing;
  };
  const Case cases[] = {
      {"", true},
      {"\\", true},
      {"C:", true},
      {"c:\\", true},
      {"C:\\\\", true},
      {"C:\\a\\..", true},
      {"\\\\srv\\share", true},
      {"\\\\srv\\share\\", true},
      {".", true},
      {"..", true},
      {"C:\\a", false},
      {"\\\\srv\\share\\x", false},
      {"a", false},
      {"C:\\..\\a", false},
      {"/tmp/x", false},
      {"C:x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(platform::namesRootOrNothing(c.path), c.rootOrNothing);
  }
  EXPECT_TRUE(platform::hasWildcard("C:\\a\\*.txt"));
  EXPECT_TRUE(platform::hasWildcard("C:\\a?"));
  EXPECT_FALSE(platform::hasWildcard("C:\\a b\\c.txt"));
  EXPECT_FALSE(platform::hasWildcard(std::string("C:\\a\0*", 6)));

  EXPECT_EQ(platform::splitMasks("*.txt;;a.*;"), (std::vector<std::string>{"*.txt", "a.*"}));
  std::vector<std::string> names = {"b", "A", "a", "C", "a"};
  platform::sortNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "b", "C"}));
}

} // namespace
