// The archive directory reader: the end-record search and its reach, the central directory, the
// local-header check, the rebuild from local headers, the derived lists, events and settings,
// and damaged input that must neither crash nor read outside the file.
#include "engine/ZipArchive.h"

#include "TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testzip::Entry;
using testzip::ZipWriter;

class ZipArchiveTest : public ::testing::Test {
protected:
  // Writes the bytes as an archive file and opens it.
  void open(const std::string& bytes) {
    temp.write("setup.qfs", bytes);
    zip.Open(temp.text("setup.qfs"));
  }
  std::vector<std::string> names() {
    std::vector<std::string> list;
    for (int i = 0; i < zip.Entries.Count(); ++i)
      list.push_back(zip.Entries[i].CentralRecord.FileName);
    return list;
  }

  TempFolder temp;
  TZipArchive zip;
};

// An end record with no entries and the given comment.
std::string emptyArchive(const std::string& comment) {
  ZipWriter writer;
  writer.comment = comment;
  return writer.build();
}

TEST_F(ZipArchiveTest, ReadsCentralDirectoryAndLocalHeaders) {
  ZipWriter writer;
  Entry readme;
  readme.name = "docs/readme.txt";
  readme.data = std::string(5000, 'r');
  readme.deflate = true;
  readme.flags = 2;
  readme.extra = std::string("\x55\x54\x05\x00\x01\x00\x00\x00\x00", 9);
  readme.comment = "entry comment";
  writer.add(readme);
  writer.file("example.exe", std::string(20480, 'x'));
  writer.folder("docs/");
  testzip::Layout layout;
  open(writer.build(&layout));

  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_TRUE(zip.Active());
  EXPECT_FALSE(zip.BadEntries());
  EXPECT_EQ(zip.FileName, temp.text("setup.qfs"));
  ASSERT_EQ(names(), (std::vector<std::string>{"docs/readme.txt", "example.exe", "docs/"}));

  const TZipEntry& first = zip.Entries[0];
  EXPECT_EQ(first.CentralRecord.CentralFileHeaderSignature, 0x02014b50u);
  EXPECT_EQ(first.CentralRecord.UncompressedSize, 5000u);
  EXPECT_EQ(first.CentralRecord.CompressedSize, testzip::deflateRaw(readme.data).size());
  EXPECT_EQ(first.CentralRecord.Crc32, testzip::crc32Of(readme.data));
  EXPECT_EQ(first.CentralRecord.ExtraField, readme.extra);
  EXPECT_EQ(first.CentralRecord.FileComment, "entry comment");
  EXPECT_EQ(first.Compression, ctMaximum);
  EXPECT_FALSE(first.Encrypted);
  EXPECT_FALSE(first.IsDirectory);
  EXPECT_FALSE(first.Marked);
  // 0x5A2F6C21: 2025-01-15 13:33:02; 45672 days after 1899-12-30.
  EXPECT_DOUBLE_EQ(first.ModifiedAt, 45672.0 + (13 * 3600 + 33 * 60 + 2) / 86400.0);
  EXPECT_EQ(first.LocalRecord.LocalFileHeaderSignature, 0x04034b50u);
  EXPECT_EQ(first.LocalRecord.FileName, "docs/readme.txt");
  EXPECT_EQ(first.LocalRecord.ExtraField, readme.extra);
  EXPECT_TRUE(first.LocalRecord.FileData.empty());

  EXPECT_EQ(zip.Entries[1].CentralRecord.UncompressedSize, 20480u);
  EXPECT_EQ(zip.Entries[1].CentralRecord.RelativeOffsetOfLocalHeader, layout.localHeaders[1]);
  EXPECT_EQ(zip.Entries[1].Compression, ctUnknown);
  EXPECT_TRUE(zip.Entries[2].IsDirectory);

  EXPECT_EQ(zip.EndRecordPosition(), layout.endRecord);
  EXPECT_EQ(zip.CommentPosition(), layout.endRecord + 22);
  EXPECT_EQ(zip.EndRecord().TotalNumberOfEntriesOnThisDisk, 3);
  EXPECT_EQ(zip.EndRecord().OffsetOfStartOfCentralDirectory, layout.centralDirectory);
  EXPECT_EQ(zip.Entries.Count(), 3);
  EXPECT_THROW(zip.Entries[3], std::out_of_range);
}

TEST_F(ZipArchiveTest, CompressionFollowsMethodAndFlagBits) {
  struct Case {
    std::uint16_t method;
    std::uint16_t flags;
    TZipCompressionType expected;
    bool encrypted;
  } cases[] = {
      {8, 0, ctNormal, false},    {8, 2, ctMaximum, false},   {8, 4, ctFast, false},
      {8, 6, ctSuperFast, false}, {9, 6, ctSuperFast, false}, {0, 6, ctUnknown, false},
      {12, 0, ctUnknown, false},  {8, 1, ctNormal, true},     {0, 7, ctUnknown, true},
  };
  ZipWriter writer;
  for (const Case& c : cases) {
    Entry entry;
    entry.name = std::to_string(c.method) + "/" + std::to_string(c.flags);
    entry.method = c.method;
    entry.flags = c.flags;
    writer.add(entry);
  }
  open(writer.build());
  ASSERT_EQ(zip.Entries.Count(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < zip.Entries.Count(); ++i) {
    SCOPED_TRACE(zip.Entries[i].CentralRecord.FileName);
    EXPECT_EQ(zip.Entries[i].Compression, cases[i].expected);
    EXPECT_EQ(zip.Entries[i].Encrypted, cases[i].encrypted);
  }
}

// Where the end record is found, or not, by the three phases of the search. `junk` bytes come
// first (not a local header), then the end record, its comment of `comment` bytes with no 'P',
// and `trailing` bytes that do not belong to the archive.
TEST_F(ZipArchiveTest, EndRecordSearchReach) {
  struct Case {
    const char* what;
    std::size_t junk;
    std::size_t comment;
    std::size_t trailing;
    bool found;
  } cases[] = {
      {"empty archive", 0, 0, 0, true},
      {"file under 256 bytes, searched to its start", 0, 200, 0, true},
      {"300 bytes, end record at the last position of phase 1", 22, 256, 0, true},
      {"300 bytes, one byte beyond; phase 2 would need 1024 bytes", 21, 257, 0, false},
      {"2000 bytes, found by phase 2", 1000, 978, 0, true},
      {"2000 bytes, beyond phase 2; phase 3 would need 65536 bytes", 0, 1978, 0, false},
      {"largest comment, found by phase 3", 1000, 65535, 0, true},
      {"end record just within phase 3", 1000, 0, 66582 - 22, true},
      {"end record just beyond phase 3", 1000, 0, 66583 - 22, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes(c.junk, 'j');
    bytes += emptyArchive(std::string(c.comment, 'c'));
    bytes += std::string(c.trailing, 'z');
    open(bytes);
    EXPECT_EQ(zip.IsZipFile(), c.found);
    EXPECT_EQ(zip.Entries.Count(), 0);
    if (c.found) {
      EXPECT_EQ(zip.EndRecordPosition(), c.junk);
    }
  }
}

TEST_F(ZipArchiveTest, LargestCommentIsReadAsLines) {
  std::string comment = "first line\r\nsecond\nthird\r";
  comment += std::string(65535 - comment.size() - 1, 'c') + "\n";
  ZipWriter writer;
  writer.file("a.txt", "a");
  writer.comment = comment;
  open(writer.build());
  ASSERT_TRUE(zip.IsZipFile());
  ASSERT_EQ(zip.Entries.Count(), 1);
  const std::vector<std::string>& lines = zip.Comment();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "first line");
  EXPECT_EQ(lines[1], "second");
  EXPECT_EQ(lines[2], "third");
  EXPECT_EQ(lines[3].size(), 65535u - 25 - 1);
}

TEST_F(ZipArchiveTest, EndRecordFarFromTheEndFallsBackToLocalHeaders) {
  ZipWriter writer;
  writer.file("a.txt", "alpha").file("b.txt", "beta", true);
  open(writer.build() + std::string(70000, 'z'));
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_TRUE(zip.BadEntries());
  EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// A comment of 'P's: every examined position there is a lone 'P', which moves four back and
// spends four of the budget. Phase 1 (the only one for a file under 1024 bytes) then reaches an
// end record behind 256 such bytes, but not behind 257.
TEST_F(ZipArchiveTest, LonePsJumpFourAndCostFour) {
  for (std::size_t length : {256u, 257u}) {
    SCOPED_TRACE(length);
    ZipWriter writer;
    writer.file("a.txt", "alpha");
    writer.comment = std::string(length, 'P');
    testzip::Layout layout;
    const std::string bytes = writer.build(&layout);
    ASSERT_LT(bytes.size(), 1024u);
    open(bytes);
    ASSERT_TRUE(zip.IsZipFile());
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});
    // Found: read from the directory. Not found: rebuilt from the local header.
    EXPECT_EQ(zip.BadEntries(), length == 257);
    if (length == 256) {
      EXPECT_EQ(zip.EndRecordPosition(), layout.endRecord);
    }
  }
}

TEST_F(ZipArchiveTest, SignatureInsideTheCommentWins) {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  const std::string fake = emptyArchive("");
  writer.comment = "before " + fake + " after";
  testzip::Layout layout;
  open(writer.build(&layout));
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_EQ(zip.Entries.Count(), 0);
  EXPECT_EQ(zip.EndRecordPosition(), layout.endRecord + 22 + 7);
}

TEST_F(ZipArchiveTest, TinyFileStartingWithLocalHeaderIsRebuilt) {
  std::string bytes;
  testzip::putLe32(bytes, 0x04034b50);
  bytes += std::string(10, '\0'); // 14 bytes: shorter than an end record and than a header
  open(bytes);
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_TRUE(zip.BadEntries());
  ASSERT_EQ(zip.Entries.Count(), 1);
  EXPECT_EQ(zip.Entries.LocalHeaderCount, 1);
  EXPECT_EQ(zip.Entries[0].CentralRecord.FileName, "");
}

TEST_F(ZipArchiveTest, RebuildFromLocalHeaders) {
  ZipWriter writer;
  writer.file("bin/", "").file("bin/app.exe", std::string(3000, 'a'), true).file("x.txt", "x");
  writer.centralDirectory = false;
  writer.endRecord = false;
  testzip::Layout layout;
  open(writer.build(&layout));
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_TRUE(zip.BadEntries());
  ASSERT_EQ(names(), (std::vector<std::string>{"bin/", "bin/app.exe", "x.txt"}));
  EXPECT_EQ(zip.Entries.LocalHeaderCount, 3);

  const TCentralDirectoryFile& folder = zip.Entries[0].CentralRecord;
  EXPECT_EQ(folder.ExternalFileAttributes, 0x10u);
  EXPECT_TRUE(zip.Entries[0].IsDirectory);
  const TCentralDirectoryFile& app = zip.Entries[1].CentralRecord;
  EXPECT_EQ(app.CentralFileHeaderSignature, 0x02014b50u);
  EXPECT_EQ(app.VersionMadeBy, 20);
  EXPECT_EQ(app.ExternalFileAttributes, 0x20u);
  EXPECT_EQ(app.UncompressedSize, 3000u);
  EXPECT_EQ(app.RelativeOffsetOfLocalHeader, layout.localHeaders[1]);
  EXPECT_EQ(app.FileCommentLength, 0);
  EXPECT_FALSE(zip.Entries[1].IsDirectory);
  EXPECT_EQ(zip.Entries[1].Compression, ctNormal);

  const TEndOfDirectoryRecord& end = zip.EndRecord();
  EXPECT_EQ(end.EndOfCentralDirSignature, 0x06054b50u);
  EXPECT_EQ(end.TotalNumberOfEntriesOnThisDisk, 3);
  EXPECT_EQ(end.SizeOfTheCentralDirectory, 3 * 46u + 4 + 11 + 5);
  // The stream stands at the end of the file, where no further header was found.
  EXPECT_EQ(end.OffsetOfStartOfCentralDirectory, layout.centralDirectory);
  EXPECT_EQ(end.ZipfileCommentLength, 0);
}

// Entries whose sizes follow their data in a descriptor: the rebuild finds each descriptor by the
// compressed size it holds, with or without its signature, and takes CRC and sizes from it.
TEST_F(ZipArchiveTest, RebuildStepsOverDataDescriptors) {
  for (bool signature : {true, false}) {
    SCOPED_TRACE(signature ? "signed descriptors" : "descriptors without signature");
    ZipWriter writer;
    const std::string big(100000, 'b');
    for (const char* name : {"one.txt", "two.bin", "empty", "three.txt"}) {
      Entry entry;
      entry.name = name;
      entry.data = std::string(name) == "two.bin" ? big : std::string(name) == "empty" ? "" : name;
      entry.deflate = std::string(name) != "three.txt";
      entry.dataDescriptor = true;
      entry.descriptorSignature = signature;
      writer.add(entry);
    }
    writer.centralDirectory = signature; // the unsigned ones end at the end of the file
    writer.endRecord = false;
    open(writer.build());
    ASSERT_TRUE(zip.IsZipFile());
    ASSERT_EQ(names(), (std::vector<std::string>{"one.txt", "two.bin", "empty", "three.txt"}));
    EXPECT_EQ(zip.Entries[1].CentralRecord.UncompressedSize, 100000u);
    EXPECT_EQ(zip.Entries[1].CentralRecord.Crc32, testzip::crc32Of(big));
    EXPECT_EQ(zip.Entries[2].CentralRecord.UncompressedSize, 0u);
    EXPECT_EQ(zip.Entries[3].CentralRecord.CompressedSize, 9u);
  }
}

TEST_F(ZipArchiveTest, MissingOrMisplacedLocalHeaderSetsBadEntries) {
  ZipWriter writer;
  writer.file("a.txt", "alpha").file("b.txt", "beta");
  testzip::Layout layout;
  std::string bytes = writer.build(&layout);
  bytes[layout.localHeaders[1] + 2] = 'X'; // the second local signature no longer matches
  open(bytes);
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_EQ(zip.Entries.Count(), 2);
  EXPECT_TRUE(zip.BadEntries());
  EXPECT_EQ(zip.Entries[0].LocalRecord.LocalFileHeaderSignature, 0x04034b50u);
  EXPECT_EQ(zip.Entries[1].LocalRecord.LocalFileHeaderSignature, 0u);
  EXPECT_EQ(zip.Entries[1].LocalRecord.FileName, "");
}

// Damaged directories: the reader follows the stored counts, lengths and offsets, reads nothing
// outside the file and never fails loudly.
TEST_F(ZipArchiveTest, LyingCountsAndOffsetsStayInsideTheFile) {
  struct Case {
    const char* what;
    std::optional<std::uint16_t> count;
    std::optional<std::uint32_t> offset;
    int entries;
  } cases[] = {
      {"count larger than the directory", 5, std::nullopt, 5},
      {"count of 65535", 65535, std::nullopt, 65535},
      {"directory offset past the end", std::nullopt, 0x7FFFFFF0u, 2},
      {"directory offset at the start of the file", std::nullopt, 0u, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZipWriter writer;
    writer.file("a.txt", "alpha").file("b.txt", "beta");
    writer.entryCount = c.count;
    writer.directoryOffset = c.offset;
    open(writer.build());
    EXPECT_TRUE(zip.IsZipFile());
    EXPECT_EQ(zip.Entries.Count(), c.entries);
    EXPECT_EQ(zip.FileNames().size(), static_cast<std::size_t>(c.entries));
  }
}

// A lying count makes tens of thousands of entries point at one local header with a long name:
// its name is not copied again and again beyond the size of the file.
TEST_F(ZipArchiveTest, RepeatedLocalHeadersStayWithinTheFileSize) {
  ZipWriter writer;
  writer.file(std::string(60000, 'n'), "data");
  writer.entryCount = 65535;
  const std::string bytes = writer.build();
  open(bytes);
  ASSERT_TRUE(zip.IsZipFile());
  ASSERT_EQ(zip.Entries.Count(), 65535);
  EXPECT_EQ(zip.Entries[0].LocalRecord.FileName, std::string(60000, 'n'));
  std::size_t held = 0;
  for (int i = 0; i < zip.Entries.Count(); ++i) held += zip.Entries[i].LocalRecord.FileName.size();
  EXPECT_LE(held, bytes.size());
  EXPECT_TRUE(zip.BadEntries());
}

TEST_F(ZipArchiveTest, NamesExtrasAndCommentsCutShortByTheEnd) {
  // A central record whose name claims 300 bytes where only a few remain, then no end record:
  // the end record comes first and its directory lies right after it.
  std::string bytes;
  testzip::putLe32(bytes, 0x06054b50);
  testzip::putLe16(bytes, 0);
  testzip::putLe16(bytes, 0);
  testzip::putLe16(bytes, 1);
  testzip::putLe16(bytes, 1);
  testzip::putLe32(bytes, 46 + 300);
  testzip::putLe32(bytes, 22);
  testzip::putLe16(bytes, 400); // comment length beyond the file
  std::string central;
  testzip::putLe32(central, 0x02014b50);
  central += std::string(24, '\0');
  testzip::putLe16(central, 300); // name length
  testzip::putLe16(central, 500); // extra length
  testzip::putLe16(central, 600); // comment length
  central += std::string(12, '\0');
  bytes += central + "short";
  open(bytes);
  ASSERT_TRUE(zip.IsZipFile());
  ASSERT_EQ(zip.Entries.Count(), 1);
  EXPECT_EQ(zip.Entries[0].CentralRecord.FilenameLength, 300);
  EXPECT_EQ(zip.Entries[0].CentralRecord.FileName, "short");
  EXPECT_EQ(zip.Entries[0].CentralRecord.ExtraField, "");
  const std::vector<std::string>& comment = zip.Comment();
  ASSERT_EQ(comment.size(), 1u);
  EXPECT_EQ(comment[0].substr(comment[0].size() - 5), "short");
}

TEST_F(ZipArchiveTest, FileNamesUseBackslashesAndDropDrives) {
  ZipWriter writer;
  for (const char* name : {"docs/a.txt", "x//y/z", "c:\\temp\\file", "a/c:/b", "plain"})
    writer.file(name, "");
  open(writer.build());
  EXPECT_EQ(zip.FileNames(),
            (std::vector<std::string>{"docs\\a.txt", "x\\y\\z", "temp\\file", "b", "plain"}));
}

TEST_F(ZipArchiveTest, NotAZipLeavesNothingOpen) {
  std::vector<int> changes;
  zip.OnZipChange = [&](TZipArchive&, int type) { changes.push_back(type); };
  open("this is plain text, not an archive at all");
  EXPECT_FALSE(zip.IsZipFile());
  EXPECT_EQ(zip.Entries.Count(), 0);
  EXPECT_TRUE(zip.Comment().empty());
  EXPECT_EQ(zip.FileName, temp.text("setup.qfs")); // stored even when not recognised
  EXPECT_EQ(changes, (std::vector<int>{0, 0, 1}));
  // The file is no longer held open: it can be removed (this fails on Windows otherwise).
  EXPECT_TRUE(std::filesystem::remove(temp.path() / "setup.qfs"));
}

TEST_F(ZipArchiveTest, MissingFileRaisesNotFoundAndKeepsFileName) {
  zip.FileName = "kept";
  const std::string missing = temp.text("nothing.qfs");
  try {
    zip.Open(missing);
    FAIL() << "no error";
  } catch (const EZipFileNotFound& error) {
    EXPECT_EQ(std::string(error.what()), "File \"" + missing + "\" not found!");
  }
  EXPECT_EQ(zip.FileName, "kept");
  EXPECT_FALSE(zip.IsZipFile());
}

TEST_F(ZipArchiveTest, ReadOnlyFollowsTheAttributeAndCloseClearsIt) {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  temp.write("setup.qfs", writer.build());
  zip.Open(temp.text("setup.qfs"));
  EXPECT_FALSE(zip.ReadOnly);
  std::filesystem::permissions(temp.path() / "setup.qfs",
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  zip.Open(temp.text("setup.qfs"));
  EXPECT_TRUE(zip.IsZipFile());
  EXPECT_TRUE(zip.ReadOnly);
  zip.Close();
  EXPECT_FALSE(zip.ReadOnly);
  EXPECT_FALSE(zip.IsZipFile());
  EXPECT_EQ(zip.Entries.Count(), 0);
}

TEST_F(ZipArchiveTest, EventsDuringOpenAndClose) {
  ZipWriter writer;
  writer.file("a.txt", "alpha").file("b.txt", "beta");
  std::vector<std::pair<int, int>> opens;
  std::vector<int> changes;
  zip.OnZipOpen = [&](TZipArchive& sender, int current, int total) {
    EXPECT_EQ(&sender, &zip);
    opens.emplace_back(current, total);
  };
  zip.OnZipChange = [&](TZipArchive&, int type) { changes.push_back(type); };
  open(writer.build());
  EXPECT_EQ(opens, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {0, 2}, {1, 2}}));
  EXPECT_EQ(changes, (std::vector<int>{0, 1}));
  zip.Close();
  EXPECT_EQ(changes, (std::vector<int>{0, 1, 0}));
}

TEST_F(ZipArchiveTest, FailingEventHandlerLeavesArchiveUnrecognised) {
  ZipWriter writer;
  writer.file("a.txt", "alpha").file("b.txt", "beta");
  zip.OnZipOpen = [](TZipArchive&, int current, int) {
    if (current == 1) throw std::runtime_error("stop");
  };
  open(writer.build());
  EXPECT_FALSE(zip.IsZipFile());
  EXPECT_EQ(zip.Entries.Count(), 0);
}

TEST_F(ZipArchiveTest, ActiveOpensAndClosesByFileName) {
  zip.SetActive(true); // no file name: nothing happens
  EXPECT_FALSE(zip.Active());
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  temp.write("setup.qfs", writer.build());
  zip.FileName = temp.text("setup.qfs");
  zip.SetActive(true);
  EXPECT_TRUE(zip.Active());
  EXPECT_EQ(zip.Entries.Count(), 1);
  zip.SetIsZipFile(false);
  EXPECT_TRUE(zip.IsZipFile());
  zip.SetActive(false);
  EXPECT_FALSE(zip.Active());
  EXPECT_EQ(zip.Entries.Count(), 0);
}

TEST(ZipArchiveSettings, ValuesAtCreation) {
  TZipArchive zip;
  EXPECT_EQ(zip.FileName, "");
  EXPECT_FALSE(zip.IsZipFile());
  EXPECT_FALSE(zip.Active());
  EXPECT_FALSE(zip.ReadOnly);
  EXPECT_TRUE(zip.ApplyAtributes);
  EXPECT_EQ(zip.OverwriteAction, oaSkip);
  EXPECT_EQ(zip.SaveMethod, FastSave);
  EXPECT_FALSE(zip.UseTempFiles);
  EXPECT_TRUE(zip.StoreRelativePath);
  EXPECT_TRUE(zip.StoreFolders);
  EXPECT_EQ(zip.CompressionType(), ctMaximum);
  EXPECT_EQ(zip.ComponentVersion(), "2.0");
  EXPECT_EQ(zip.Entries.Count(), 0);
  EXPECT_EQ(&zip.Entries.Archive(), &zip);

  zip.SetComponentVersion("9.9");
  EXPECT_EQ(zip.ComponentVersion(), "2.0");
  zip.SetCompressionType(ctFast);
  EXPECT_EQ(zip.CompressionType(), ctFast);
  zip.SetCompressionType(ctUnknown);
  EXPECT_EQ(zip.CompressionType(), ctNormal);
}

TEST(ZipDateTime, DosStampsAndInvalidFields) {
  EXPECT_DOUBLE_EQ(dosDateTimeToDateTime(0x00210000), 29221.0); // 1980-01-01 00:00:00
  EXPECT_DOUBLE_EQ(dosDateTimeToDateTime((0x0021u << 16) | (23u << 11) | (59u << 5) | 29u),
                   29221.0 + (23 * 3600 + 59 * 60 + 58) / 86400.0);
  EXPECT_DOUBLE_EQ(dosDateTimeToDateTime(((20u << 9 | 2u << 5 | 29u) << 16)),
                   36585.0);                                                 // 2000-02-29
  EXPECT_EQ(dosDateTimeToDateTime(0), 0.0);                                  // month 0, day 0
  EXPECT_EQ(dosDateTimeToDateTime(((21u << 9 | 2u << 5 | 29u) << 16)), 0.0); // 2001-02-29
  EXPECT_EQ(dosDateTimeToDateTime((0x0021u << 16) | (24u << 11)), 0.0);      // hour 24
}

} // namespace
