// Shell links and the recycle bin of the emulated machine: .lnk files that other tools read, and
// deletions that land in C:\$Recycle.Bin and nowhere else.
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/posix/LineFields.h"
#include "platform/posix/ShellLinkFile.h"
#include "unit/platform/CurrentFolderGuard.h"
#include "unit/platform/PosixMachineTest.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;
namespace fa = platform::fileattr;
using platform::posix::ShellLinkFields;

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Windows-1252 text as UTF-8, for comparing with what the link tool prints.
std::string utf8(const std::string& text) {
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    unsigned code = byte;
    if (byte == 0x80) code = 0x20AC;
    if (code < 0x80) {
      out += c;
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// The value after "<label> : " in the output of the lnkinfo tool; nothing when it is missing.
std::optional<std::string> lnkinfoField(const std::string& output, const std::string& label) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t at = line.find(label);
    std::size_t colon = line.find(": ", at == std::string::npos ? 0 : at);
    if (at != std::string::npos && colon != std::string::npos) return line.substr(colon + 2);
  }
  return std::nullopt;
}

std::optional<std::string> runLnkinfo(const fs::path& file) {
  std::string command = "lnkinfo '" + file.string() + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return std::nullopt;
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  return output;
}

bool lnkinfoInstalled() { return std::system("command -v lnkinfo >/dev/null 2>&1") == 0; }

struct LinkCase {
  const char* target;
  const char* workingDirectory;
};

const LinkCase kLinks[] = {
    {"C:\\Program Files\\Example Co\\Example\\\\example.exe",
     "C:\\Program Files\\Example Co\\Example\\"},
    {"C:\\Program Files\\Example Co\\Example\\bin\\tool.exe",
     "C:\\Program Files\\Example Co\\Example\\bin\\"},
    {"c:\\windows\\system32\\\\\\nightsky.scr", "c:\\windows\\system32\\\\"},
    {"C:\\Caf\xE9\\na\xEFve \x80.exe", "C:\\Caf\xE9\\"},
    {"D:\\Apps\\nowhere.exe", ""},
};

class ShellOnMachine : public PosixMachineTest {
protected:
  CurrentFolderGuard currentFolder_;
  platform::ComApartment apartment_;
};

TEST_F(ShellOnMachine, LinkToolReadsTargetAndWorkingFolder) {
  if (!lnkinfoInstalled()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  makeFolder("c/Users/Public/Desktop");
  int n = 0;
  for (const LinkCase& c : kLinks) {
    SCOPED_TRACE(c.target);
    std::string link = "C:\\Users\\Public\\Desktop\\link" + std::to_string(++n) + ".lnk";
    ASSERT_TRUE(platform::createShellLink(link, c.target, c.workingDirectory));
    std::optional<std::string> output = runLnkinfo(machine().hostPath(link));
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(lnkinfoField(*output, "Local path"), utf8(c.target)) << *output;
    if (*c.workingDirectory)
      EXPECT_EQ(lnkinfoField(*output, "Working directory"), utf8(c.workingDirectory)) << *output;
    else
      EXPECT_EQ(lnkinfoField(*output, "Working directory"), std::nullopt) << *output;
  }
}

TEST_F(ShellOnMachine, LinksReadBackAndDescribeAnExistingTarget) {
  makeFile("c/Program Files/Example Co/Example/example.exe", std::string(1234, 'x'));
  makeFolder("c/ProgramData/Microsoft/Windows/Start Menu/Programs/Example");
  for (const LinkCase& c : kLinks) {
    SCOPED_TRACE(c.target);
    const std::string link =
        "c:\\programdata\\microsoft\\windows\\start menu\\programs\\example\\Example.lnk";
    ASSERT_TRUE(platform::createShellLink(link, c.target, c.workingDirectory));
    // The folders were found without regard to case; the name keeps its own.
    EXPECT_TRUE(fs::exists(
        under("c/ProgramData/Microsoft/Windows/Start Menu/Programs/Example/Example.lnk")));
    std::optional<ShellLinkFields> fields = platform::posix::readShellLink(link);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->target, c.target);
    EXPECT_EQ(fields->workingDirectory, c.workingDirectory);
  }
  ASSERT_TRUE(platform::createShellLink("C:\\x.lnk", kLinks[0].target, kLinks[0].workingDirectory));
  std::optional<ShellLinkFields> existing = platform::posix::readShellLink("C:\\x.lnk");
  ASSERT_TRUE(existing.has_value());
  EXPECT_EQ(existing->targetSize, 1234u);
  EXPECT_EQ(existing->targetAttributes, fa::Archive);
  EXPECT_NE(existing->targetWriteTime, 0u);
}

TEST_F(ShellOnMachine, ARelativeTargetIsMadeFull) {
  makeFolder("c/Apps");
  ASSERT_TRUE(platform::setCurrentDirectory("C:\\Apps"));
  ASSERT_TRUE(platform::createShellLink("C:\\rel.lnk", "bin\\tool.exe", "bin"));
  std::optional<ShellLinkFields> fields = platform::posix::readShellLink("C:\\rel.lnk");
  ASSERT_TRUE(fields.has_value());
  EXPECT_EQ(fields->target, "C:\\Apps\\bin\\tool.exe");
  EXPECT_EQ(fields->workingDirectory, "bin");
}

TEST_F(ShellOnMachine, DamagedLinkBytesAreRefusedWithoutReadingPastThem) {
  std::optional<std::string> bytes =
      platform::posix::encodeShellLink({kLinks[0].target, kLinks[0].workingDirectory});
  ASSERT_TRUE(bytes.has_value());
  ASSERT_TRUE(platform::posix::decodeShellLink(*bytes).has_value());
  // Every cut through the string data or the link information must be noticed.
  for (std::size_t size = 0; size + 4 < bytes->size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(platform::posix::decodeShellLink(bytes->substr(0, size)).has_value());
  }
  std::string wrongClass = *bytes;
  wrongClass[4] = '\x02';
  EXPECT_FALSE(platform::posix::decodeShellLink(wrongClass).has_value());
  std::string hugeInfo = *bytes;
  hugeInfo[0x4C + 1] = '\x7F'; // LinkInfoSize far past the end
  EXPECT_FALSE(platform::posix::decodeShellLink(hugeInfo).has_value());
  EXPECT_FALSE(platform::posix::readShellLink("C:\\absent.lnk").has_value());
}

TEST(ShellLinkApartment, ObjectsNeedAnOpenApartment) {
  TestMachine machine;
  platform::ShellLink early = platform::ShellLink::create();
  EXPECT_FALSE(early.isValid());
  EXPECT_FALSE(early.error().empty());
  {
    platform::ComApartment apartment;
    EXPECT_TRUE(platform::ShellLink::create().isValid());
  }
  EXPECT_FALSE(platform::ShellLink::create().isValid()) << "the apartment was left";
  EXPECT_FALSE(platform::createShellLink("C:\\late.lnk", "C:\\x.exe", "C:\\"));
  EXPECT_FALSE(fs::exists(machine.root() / "c" / "late.lnk"));
}

class RecycleBin : public PosixMachineTest {
protected:
  fs::path bin() const { return under("c/$Recycle.Bin"); }
  std::vector<std::vector<std::string>> index() const {
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(bin() / "index.txt");
    std::string line;
    while (std::getline(in, line)) lines.push_back(platform::posix::splitFields(line));
    return lines;
  }
};

TEST_F(RecycleBin, FilesAndFoldersMoveInWithTheirContent) {
  makeFile("c/Apps/Example/example.exe", "program");
  makeFile("c/Apps/Example/docs/manual.txt", "manual");
  makeFile("c/Apps/Other/notes.txt", "one");
  makeFile("c/Apps/More/notes.txt", "two");

  ASSERT_TRUE(platform::shellDeleteToRecycleBin("c:\\apps\\example"));
  EXPECT_FALSE(fs::exists(under("c/Apps/Example")));
  EXPECT_EQ(slurp(bin() / "Example/example.exe"), "program");
  EXPECT_EQ(slurp(bin() / "Example/docs/manual.txt"), "manual");

  // Items of the same name are all kept.
  ASSERT_TRUE(platform::shellDeleteToRecycleBin("C:\\Apps\\Other\\notes.txt"));
  ASSERT_TRUE(platform::shellDeleteToRecycleBin("C:\\Apps\\More\\notes.txt"));
  EXPECT_EQ(slurp(bin() / "notes.txt"), "one");
  EXPECT_EQ(slurp(bin() / "notes.txt (2)"), "two");

  using Line = std::vector<std::string>;
  EXPECT_EQ(index(), (std::vector<Line>{{"Example", "c:\\apps\\example"},
                                        {"notes.txt", "C:\\Apps\\Other\\notes.txt"},
                                        {"notes.txt (2)", "C:\\Apps\\More\\notes.txt"}}));

  std::optional<std::uint32_t> binAttributes = platform::fileAttributes("C:\\$Recycle.Bin");
  ASSERT_TRUE(binAttributes.has_value());
  EXPECT_EQ(*binAttributes, fa::Directory | fa::Hidden | fa::System);
}

TEST_F(RecycleBin, AttributesTravelWithTheItem) {
  makeFile("c/Apps/App/secret.txt");
  makeFile("c/Apps/ro.txt");
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\App\\secret.txt", fa::Hidden));
  ASSERT_TRUE(platform::setFileAttributes("C:\\Apps\\ro.txt", fa::ReadOnly | fa::System));
  ASSERT_TRUE(platform::shellDeleteToRecycleBin("C:\\Apps\\App"));
  ASSERT_TRUE(platform::shellDeleteToRecycleBin("C:\\Apps\\ro.txt"));
  EXPECT_EQ(platform::fileAttributes("C:\\$Recycle.Bin\\App\\secret.txt"), fa::Hidden);
  EXPECT_EQ(platform::fileAttributes("C:\\$Recycle.Bin\\ro.txt"), fa::ReadOnly | fa::System);
}

TEST_F(RecycleBin, NothingOutsideASingleItemOfTheMachineMoves) {
  makeFile("c/Apps/keep.txt");
  makeFile("d/only.txt");
  fs::path outside = root().parent_path() / (root().filename().string() + "-outside");
  fs::create_directories(outside);
  std::ofstream(outside / "host.txt") << "host";
  makeFile("c/Apps/first.txt");
  ASSERT_TRUE(platform::shellDeleteToRecycleBin("C:\\Apps\\first.txt")) << "the bin exists";

  const std::string refused[] = {
      "",
      "C:\\",
      "c:",
      "D:\\",
      "C:\\Apps\\..",
      "C:\\Apps\\*.txt",
      "C:\\Apps\\keep.tx?",
      "C:\\$Recycle.Bin",
      "\\\\server\\share",
      outside.string(),
      (outside / "host.txt").string(),
      "C:\\Apps\\absent.txt",
  };
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(platform::shellDeleteToRecycleBin(path));
  }
  EXPECT_TRUE(fs::exists(under("c/Apps/keep.txt")));
  EXPECT_TRUE(fs::exists(under("d/only.txt")));
  EXPECT_TRUE(fs::exists(outside / "host.txt"));
  EXPECT_TRUE(fs::exists(under("c/WINDOWS/system32")));
  fs::remove_all(outside);
}

} // namespace
