// Entry names the unzip library accepts, how it splits them, and the ones it refuses.
#include "EntryName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(EntryName, SafeNamesSplitIntoFoldersAndFile) {
  struct Case {
    std::string name;
    std::vector<std::string> folders;
    std::string file;
  } cases[] = {
      {"readme.txt", {}, "readme.txt"},
      {"docs/manual.txt", {"docs"}, "manual.txt"},
      {"a\\b/c.txt", {"a", "b"}, "c.txt"},
      {"a//b", {"a"}, "b"},
      {"bin/", {"bin"}, ""},
      {"x/y\\", {"x", "y"}, ""},
      {".hidden", {}, ".hidden"},
      {"COM10", {}, "COM10"},
      {"name with spaces.txt", {}, "name with spaces.txt"},
      {std::string("caf\xE9.txt"), {}, std::string("caf\xE9.txt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unzdll::EntryPath path;
    const std::string why = unzdll::checkEntryName(c.name, path);
    ASSERT_EQ(why, "");
    std::vector<std::string> folders(path.folders.begin(), path.folders.end());
    EXPECT_EQ(folders, c.folders);
    EXPECT_EQ(std::string(path.file), c.file);
  }
}

TEST(EntryName, UnsafeNamesAreRefused) {
  const std::string refused[] = {
      "",
      "/",
      "../evil.txt",
      "a/../../evil.txt",
      "..\\evil.txt",
      "a\\..\\..\\evil.txt",
      "..",
      "./a.txt",
      "a/./b.txt",
      ".../x",
      "dir./x",
      "file.txt.",
      "file.txt ",
      "/etc/passwd",
      "\\windows\\evil.dll",
      "\\\\server\\share\\x.txt",
      "//server/share/x.txt",
      "\\\\?\\C:\\evil.txt",
      "\\\\.\\PhysicalDrive0",
      "C:\\evil.txt",
      "c:evil.txt",
      "C:/evil.txt",
      "file.txt:stream",
      "file.txt::$DATA",
      "CON",
      "con",
      "nul.txt",
      "docs/aux.h",
      "con.d/console.txt",
      "Com1",
      "lpt9.log",
      "PRN ",
      "conin$",
      std::string("com\xB9"),
      "ev*l.txt",
      "what?.txt",
      "a<b",
      "a>b",
      "a|b",
      "a\"b",
      std::string("a\x01"
                  "b",
                  3),
      std::string("a\tb"),
  };
  for (const std::string& name : refused) {
    SCOPED_TRACE(name);
    unzdll::EntryPath path;
    EXPECT_NE(unzdll::checkEntryName(name, path), "");
  }
}

} // namespace
