// Archives whose end record is saturated and points to a ZIP64 end record: the reader takes the
// entry count, directory offset and size from there (when believable) and nothing else changes.
#include "engine/ZipArchive.h"

#include "TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testzip::ZipWriter;

ZipWriter threeEntries() {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  writer.file("docs/b.txt", std::string(3000, 'b'), true);
  writer.file("c.bin", "gamma");
  return writer;
}

std::vector<std::string> namesOf(const TZipArchive& zip) {
  std::vector<std::string> names;
  for (int i = 0; i < zip.Entries.Count(); ++i)
    names.push_back(zip.Entries[i].CentralRecord.FileName);
  return names;
}

class Zip64CountTest : public ::testing::Test {
protected:
  void open(const ZipWriter& writer) {
    writer.write(temp.text("setup.qfs"), &layout);
    zip.Open(temp.text("setup.qfs"));
  }

  TempFolder temp;
  TZipArchive zip;
  testzip::Layout layout;
};

TEST_F(Zip64CountTest, SaturatedFieldsTakeTheZip64Values) {
  const std::vector<std::string> all = {"a.txt", "docs/b.txt", "c.bin"};
  struct Case {
    const char* what;
    bool saturateSizeAndOffset;
  };
  for (const Case& c : {Case{"count saturated", false}, Case{"all saturated", true}}) {
    SCOPED_TRACE(c.what);
    ZipWriter writer = threeEntries();
    writer.zip64 = true;
    writer.zip64Saturate = c.saturateSizeAndOffset;
    open(writer);
    ASSERT_TRUE(zip.IsZipFile());
    EXPECT_FALSE(zip.BadEntries());
    EXPECT_EQ(namesOf(zip), all);
    EXPECT_EQ(zip.EndRecord().TotalNumberOfEntriesOnThisDisk, 0xFFFF); // kept as stored
    EXPECT_EQ(zip.DirectoryEntryCount(), 3u);
    EXPECT_EQ(zip.DirectoryOffset(), layout.centralDirectory);
    EXPECT_EQ(zip.DirectorySize(), layout.zip64EndRecord - layout.centralDirectory);
    EXPECT_EQ(zip.EndRecordPosition(), layout.endRecord);
  }
}

TEST_F(Zip64CountTest, MoreThan65535EntriesAreAllListed) {
  ZipWriter writer;
  constexpr int Count = 70000;
  for (int i = 0; i < Count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%03d/%05d.txt", i / 1000, i);
    writer.file(name, "x");
  }
  writer.zip64 = true;
  open(writer);
  ASSERT_TRUE(zip.IsZipFile());
  ASSERT_EQ(zip.Entries.Count(), Count);
  EXPECT_FALSE(zip.BadEntries());
  EXPECT_EQ(zip.Entries[65535].CentralRecord.FileName, "f065/65535.txt");
  EXPECT_EQ(zip.Entries[Count - 1].CentralRecord.FileName, "f069/69999.txt");
}

// Where the ZIP64 record is missing, unbelievable or not called for, the end record is followed
// as stored.
TEST_F(Zip64CountTest, OtherwiseTheEndRecordIsFollowedAsStored) {
  struct Case {
    const char* what;
    void (*change)(ZipWriter&);
    std::uint32_t count;
    bool offsetAsStored; // false: the true directory offset
  };
  const Case cases[] = {
      {"no locator before the end record",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.zip64Locator = false;
         w.entryCount = 3;
         w.zip64Saturate = true;
       },
       3, true},
      {"locator pointing elsewhere",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.zip64RecordOffset = 0;
         w.entryCount = 3;
         w.zip64Saturate = true;
       },
       3, true},
      {"locator pointing past itself",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.zip64RecordOffset = 0xFFFFFFFFFFFFull;
         w.entryCount = 3;
         w.zip64Saturate = true;
       },
       3, true},
      {"fields not saturated",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.entryCount = 2;
         w.zip64EntryCount = 3;
       },
       2, false},
      {"count beyond what the file can hold",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.zip64EntryCount = 1ull << 40;
       },
       0xFFFF, false},
      {"offset of 4 GiB or more",
       [](ZipWriter& w) {
         w.zip64 = true;
         w.entryCount = 3;
         w.zip64Saturate = true;
         w.zip64DirectoryOffset = 0x100000000ull;
       },
       3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZipWriter writer = threeEntries();
    c.change(writer);
    open(writer);
    EXPECT_EQ(zip.DirectoryEntryCount(), c.count);
    if (c.offsetAsStored) {
      EXPECT_EQ(zip.DirectoryOffset(), 0xFFFFFFFFu);
      // Read from past the end of the file: records of zeros, as for any lying end record.
      ASSERT_EQ(zip.Entries.Count(), 3);
      EXPECT_EQ(zip.Entries[0].CentralRecord.FileName, "");
    } else {
      EXPECT_EQ(zip.DirectoryOffset(), layout.centralDirectory);
      ASSERT_GE(zip.Entries.Count(), 2);
      EXPECT_EQ(zip.Entries[0].CentralRecord.FileName, "a.txt");
      EXPECT_EQ(zip.Entries[1].CentralRecord.FileName, "docs/b.txt");
    }
  }
}

#ifdef QF_HOST_ZIP_TOOLS
// Archives made by the zip tool itself. Forced ZIP64 saturates the directory offset; more than
// 65535 files saturate the count.
class ZipToolTest : public Zip64CountTest {
protected:
  void SetUp() override {
    if (std::system("zip -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "zip is not installed";
  }
  void zipFolder(const std::string& options, const std::string& what) {
    const std::string command = "cd '" + temp.path().string() + "' && zip -q " + options +
                                " setup.qfs " + what + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    zip.Open(temp.text("setup.qfs"));
  }
};

TEST_F(ZipToolTest, ForcedZip64ArchiveListsItsEntry) {
  temp.write("a.txt", "hello\n");
  zipFolder("-fz", "a.txt");
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_EQ(zip.EndRecord().OffsetOfStartOfCentralDirectory, 0xFFFFFFFFu);
  EXPECT_EQ(namesOf(zip), (std::vector<std::string>{"a.txt"}));
  EXPECT_FALSE(zip.BadEntries());
}

TEST_F(ZipToolTest, ArchiveOfMoreThan65535FilesListsThemAll) {
  constexpr int Count = 65600;
  for (int folder = 0; folder * 1000 < Count; ++folder) {
    const std::filesystem::path dir = temp.path() / "f" / std::to_string(folder);
    std::filesystem::create_directories(dir);
    for (int i = folder * 1000; i < Count && i < (folder + 1) * 1000; ++i)
      std::ofstream(dir / (std::to_string(i) + ".txt")) << i;
  }
  zipFolder("-r -D", "f"); // files only, no folder entries
  ASSERT_TRUE(zip.IsZipFile());
  EXPECT_EQ(zip.EndRecord().TotalNumberOfEntriesOnThisDisk, 0xFFFF);
  EXPECT_EQ(zip.Entries.Count(), Count);
  EXPECT_FALSE(zip.BadEntries());
}
#endif

} // namespace
