// How Windows path text finds its host file on the emulated machine: drive folders, separators,
// case-insensitive lookup, relative forms, and never a way out of the root.
#include "unit/platform/PosixMachineTest.h"

#include <random>

namespace {

namespace fs = std::filesystem;

class PathMapping : public PosixMachineTest {
protected:
  // The mapped path as text relative to the root ("" for the root itself), or the whole host
  // path when the result lies outside the root.
  std::string mapped(const std::string& windowsPath) {
    fs::path host = machine().hostPath(windowsPath);
    fs::path relative = host.lexically_relative(root());
    if (relative.empty() || *relative.begin() == "..") return host.string();
    return relative.generic_string();
  }
};

struct MappingCase {
  std::string windows;
  std::string host; // relative to the root
};

TEST_F(PathMapping, DriveAndNetworkTextMapsToFoldersUnderTheRoot) {
  // Nothing exists on drive D of a fresh machine, so the case of every component is kept.
  const MappingCase cases[] = {
      {"D:\\a\\\\b", "d/a/b"},
      {"d:\\A\\b\\", "d/A/b"},
      {"D:/x//y\\/\\z", "d/x/y/z"},
      {"D:\\", "d"},
      {"Z:\\Deep\\Name With Blanks\\f.TXT", "z/Deep/Name With Blanks/f.TXT"},
      {"D:\\a\\.\\b\\.", "d/a/b"},
      {"D:\\a\\..\\b", "d/b"},
      {"D:\\..\\..\\etc\\passwd", "d/etc/passwd"},
      {"D:\\a\\..\\..\\..\\b", "d/b"},
      {"D:\\...\\x", "d/.../x"},
      {"\\\\server\\share\\dir\\f.txt", "unc/server/share/dir/f.txt"},
      {"\\/server/share", "unc/server/share"},
      {"\\\\..\\..\\x", "unc/x"},
      {std::string("D:\\a\0\\..\\..\\x", 13), "d/a"}, // the text ends at its zero
  };
  for (const MappingCase& c : cases) EXPECT_EQ(mapped(c.windows), c.host) << c.windows;
}

TEST_F(PathMapping, ExistingComponentsAreFoundWithoutRegardToCase) {
  // A fresh machine has C:\WINDOWS\system32 and C:\Program Files (x86).
  const MappingCase cases[] = {
      {"c:\\windows\\SYSTEM32\\drivers", "c/WINDOWS/system32/drivers"},
      {"C:\\PROGRAM FILES (X86)\\New App\\Bin", "c/Program Files (x86)/New App/Bin"},
      {"C:\\users\\USER\\desktop\\", "c/Users/User/Desktop"},
  };
  for (const MappingCase& c : cases) EXPECT_EQ(mapped(c.windows), c.host) << c.windows;
}

TEST_F(PathMapping, OnlyLettersAToZFold) {
  makeFolder("c/\xC4pfel"); // 'A' with diaeresis in the ANSI code page
  EXPECT_EQ(mapped("C:\\\xC4PFEL\\x"), "c/\xC4pfel/x");
  // Its lower-case form is another byte: not the same name.
  EXPECT_EQ(mapped("C:\\\xE4pfel\\x"), "c/\xE4pfel/x");
}

TEST_F(PathMapping, ExactNameWinsOverOtherCaseVariants) {
  makeFolder("c/Data");
  makeFolder("c/DATA");
  EXPECT_EQ(mapped("C:\\Data\\f"), "c/Data/f");
  EXPECT_EQ(mapped("C:\\DATA\\f"), "c/DATA/f");
  // No exact match: the first in byte order, whatever order the folder lists them in.
  EXPECT_EQ(mapped("C:\\data\\f"), "c/DATA/f");
}

TEST_F(PathMapping, ComponentsBelowAFileOrAMissingFolderKeepTheirCase) {
  makeFile("c/file.txt");
  makeFolder("c/Sub");
  EXPECT_EQ(mapped("C:\\FILE.TXT\\sub"), "c/file.txt/sub");
  EXPECT_EQ(mapped("C:\\Missing\\SUB"), "c/Missing/SUB");
}

TEST_F(PathMapping, HostPathsPassThroughWithSlashes) {
  EXPECT_EQ(machine().hostPath("/tmp/source\\setup.ini"), fs::path("/tmp/source/setup.ini"));
  EXPECT_EQ(machine().hostPath("/"), fs::path("/"));
}

struct RelativeCase {
  std::string current;
  std::string windows;
  std::string host;
};

TEST_F(PathMapping, RelativeTextStartsAtTheCurrentFolder) {
  const RelativeCase cases[] = {
      {"C:\\Users\\User", "Desktop\\x", "c/Users/User/Desktop/x"},
      {"C:\\Users\\User", "..\\Public", "c/Users/Public"},
      {"C:\\Users\\User", "..\\..\\..\\..\\x", "c/x"},
      {"C:\\Users\\User", "", "c/Users/User"},
      {"C:\\Users\\User", "\\WINDOWS", "c/WINDOWS"},
      {"D:\\work", "\\x", "d/x"},
      {"C:\\Users\\User", "C:Desktop", "c/Users/User/Desktop"},
      {"C:\\Users\\User", "C:", "c/Users/User"},
      {"C:\\Users\\User", "D:x", "d/x"},
      {"c:\\users\\..\\..\\users", "f", "c/Users/f"},
      {"\\\\srv\\share\\dir", "f", "unc/srv/share/dir/f"},
      {"\\\\srv\\share\\dir", "\\x", "unc/srv/share/x"},
      {"not absolute", "f", "c/f"},
  };
  for (const RelativeCase& c : cases) {
    machine().setCurrentDirectory(c.current);
    EXPECT_EQ(mapped(c.windows), c.host) << c.current << " + " << c.windows;
  }
}

// Random text of separators, dots, drive letters and names must always land under the root,
// with no "." or ".." component left in the host path.
TEST_F(PathMapping, NoTextLeavesTheRoot) {
  const char alphabet[] = {'\\', '/', '.', '.', 'a', 'C', 'c', ':', 'D', ' ', '\xE4', '\0'};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<std::size_t> length(0, 24);
  auto randomText = [&] {
    std::string text(length(random), ' ');
    for (char& c : text) c = alphabet[pick(random)];
    return text;
  };
  for (int i = 0; i < 5000; ++i) {
    if (i % 10 == 0) machine().setCurrentDirectory(randomText());
    std::string text = randomText();
    if (!text.empty() && text[0] == '/') continue; // host paths are meant to leave
    fs::path host = machine().hostPath(text);
    fs::path relative = host.lexically_relative(root());
    ASSERT_FALSE(relative.empty()) << text;
    for (const fs::path& part : relative)
      ASSERT_TRUE(part != ".." && part != ".") << "'" << text << "' -> " << host;
  }
}

} // namespace
