// The unzip library through its exported entry, loaded as the program loads it: extraction of
// stored and deflated entries with their folders, the callback's messages, refused names, damaged
// data that must leave no file under the final name, the kept directory, and the buffers.
#include "UnzipInterface.h"
#include "platform/DynamicLibrary.h"

#include "TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testzip::Entry;
using testzip::ZipWriter;

#ifdef QF_UNZDLL_PATH
const char* const LibraryPath = QF_UNZDLL_PATH;
#else
const char* const LibraryPath = "unzdll.dll"; // beside the test program
#endif

UnZipEntryProc entryPoint() {
  static platform::DynamicLibrary library = platform::DynamicLibrary::load(LibraryPath);
  if (!library.isLoaded()) throw std::runtime_error(library.error());
  void* address = library.entry(unzip::EntryOrdinal, unzip::EntryName);
  if (!address) throw std::runtime_error("no entry point");
  return reinterpret_cast<UnZipEntryProc>(address);
}

struct Message {
  std::int32_t action;
  std::int32_t code;
  std::int32_t size;
  std::string text;
};

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every file and folder below `root`, as relative generic paths.
std::set<std::string> tree(const fs::path& root) {
  std::set<std::string> items;
  for (const auto& item : fs::recursive_directory_iterator(root))
    items.insert(fs::relative(item.path(), root).generic_string());
  return items;
}

class UnzipLibraryTest : public ::testing::Test {
protected:
  UnzipLibraryTest() : params(std::make_unique<UnZipParams>()) {
    destination = temp.path() / "dest";
    fs::create_directories(destination);
    previous = fs::current_path();
    fs::current_path(destination);
    // The record as the program sets it up before its calls.
    params->Caller = this;
    params->Version = unzip::InterfaceVersion;
    params->Callback = &UnzipLibraryTest::callback;
    params->Overwrite = unzip::On;
    params->UseFolders = unzip::On;
    params->MessageLevel = unzip::MessagesAll;
    params->FileSpecCount = 1;
  }
  ~UnzipLibraryTest() override { fs::current_path(previous); }

  static std::int32_t QF_UNZIP_CALL callback(UnZipCallbackInfo* info) {
    auto* self = static_cast<UnzipLibraryTest*>(info->Caller);
    EXPECT_NE(std::memchr(info->Message, 0, sizeof info->Message), nullptr);
    self->messages.push_back({info->ActionCode, info->ErrorCode, info->FileSize, info->Message});
    if (self->onMessage) return self->onMessage(*info);
    return 0;
  }

  void writeArchive(const ZipWriter& writer, testzip::Layout* layout = nullptr) {
    writer.write(archive().string(), layout);
  }
  void writeArchive(const std::string& bytes) { temp.write("setup.qfs", bytes); }
  fs::path archive() const { return temp.path() / "setup.qfs"; }

  // One call for one entry, with both texts in buffers of exactly 256 bytes as the program has.
  std::int32_t extract(const std::string& name) { return extract(archive().string(), name); }
  std::int32_t extract(const std::string& archivePath, const std::string& name) {
    auto path = std::make_unique<char[]>(unzip::NameBufferSize);
    auto fileSpec = std::make_unique<char[]>(unzip::NameBufferSize);
    std::memset(path.get(), 0, unzip::NameBufferSize);
    std::memset(fileSpec.get(), 0, unzip::NameBufferSize);
    archivePath.copy(path.get(), unzip::NameBufferSize - 1);
    name.copy(fileSpec.get(), unzip::NameBufferSize - 1);
    params->ArchivePath = path.get();
    params->FileSpecs[0] = fileSpec.get();
    messages.clear();
    return entryPoint()(params.get());
  }

  std::vector<std::int32_t> actions() const {
    std::vector<std::int32_t> list;
    for (const Message& m : messages) list.push_back(m.action);
    return list;
  }
  const Message* error() const {
    for (const Message& m : messages)
      if (m.action == unzip::ActionError) return &m;
    return nullptr;
  }

  TempFolder temp;
  fs::path destination;
  fs::path previous;
  std::unique_ptr<UnZipParams> params;
  std::vector<Message> messages;
  std::function<std::int32_t(const UnZipCallbackInfo&)> onMessage;
};

std::string pattern(std::size_t size, unsigned seed) {
  std::string data(size, '\0');
  unsigned value = seed;
  for (char& c : data) {
    value = value * 1103515245u + 12345u;
    c = static_cast<char>((value >> 16) % 7 == 0 ? 'a' : (value >> 16) & 0xFF);
  }
  return data;
}

TEST_F(UnzipLibraryTest, ExtractsEntriesIntoTheCurrentFolder) {
  const std::string manual = pattern(100000, 1);
  const std::string program = pattern(20480, 2);
  const std::string tool(70000, 't');
  ZipWriter writer;
  writer.file("docs/manual.txt", manual, true)
      .file("example.exe", program)
      .file("Bin\\Sub/tool.dll", tool, true)
      .file("empty.txt", "")
      .folder("logs/old/");
  writeArchive(writer);

  for (const char* name :
       {"docs/manual.txt", "example.exe", "Bin\\Sub/tool.dll", "empty.txt", "logs/old/"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(extract(name), unzip::Ok);
    EXPECT_EQ(error(), nullptr);
  }
  EXPECT_EQ(readFile(destination / "docs" / "manual.txt"), manual);
  EXPECT_EQ(readFile(destination / "example.exe"), program);
  EXPECT_EQ(readFile(destination / "Bin" / "Sub" / "tool.dll"), tool);
  EXPECT_EQ(tree(destination),
            (std::set<std::string>{"docs", "docs/manual.txt", "example.exe", "Bin", "Bin/Sub",
                                   "Bin/Sub/tool.dll", "empty.txt", "logs", "logs/old"}));
}

TEST_F(UnzipLibraryTest, MessagesOfOneItem) {
  ZipWriter writer;
  writer.file("docs/manual.txt", pattern(100000, 3), true);
  writeArchive(writer);
  ASSERT_EQ(extract("docs/manual.txt"), unzip::Ok);
  ASSERT_EQ(actions(), (std::vector<std::int32_t>{1, 2, 2, 3}));
  EXPECT_EQ(messages[0].text, "docs/manual.txt");
  EXPECT_EQ(messages[0].size, 100000);
  EXPECT_EQ(messages[0].code, 0);

  // The message level chooses which actions are sent.
  params->MessageLevel = unzip::MessagesItems;
  ASSERT_EQ(extract("docs/manual.txt"), unzip::Ok);
  EXPECT_EQ(actions(), (std::vector<std::int32_t>{1, 3}));
  params->Callback = nullptr;
  EXPECT_EQ(extract("docs/manual.txt"), unzip::Ok);
  EXPECT_TRUE(messages.empty());
}

// An item of s bytes sends s / 32768 - 1 progress messages (none below two units), so a bar that
// starts at 1 of max(1, s / 32768) ends at its maximum.
TEST_F(UnzipLibraryTest, ProgressMessagesPerUnit) {
  struct Case {
    std::size_t size;
    int progress;
  } cases[] = {{0, 0},     {1, 0},     {32767, 0}, {32768, 0},  {65535, 0},
               {65536, 1}, {98303, 1}, {98304, 2}, {100000, 2}, {1048576, 31}};
  ZipWriter writer;
  for (const Case& c : cases) {
    writer.file(std::to_string(c.size) + "s", pattern(c.size, 5), false);
    writer.file(std::to_string(c.size) + "d", pattern(c.size, 6), true);
  }
  writeArchive(writer);
  for (const Case& c : cases) {
    for (const char* kind : {"s", "d"}) {
      const std::string name = std::to_string(c.size) + kind;
      SCOPED_TRACE(name);
      ASSERT_EQ(extract(name), unzip::Ok);
      std::vector<std::int32_t> expected{1};
      expected.insert(expected.end(), static_cast<std::size_t>(c.progress), 2);
      expected.push_back(3);
      EXPECT_EQ(actions(), expected);
    }
  }
}

// Names that could reach outside the destination folder, or a device, are refused: an error
// message with the code, a non-zero result, and nothing written anywhere.
TEST_F(UnzipLibraryTest, HostileNamesAreRefusedAndNothingIsWritten) {
  const std::string names[] = {
      "../evil.txt",
      "docs/../../evil.txt",
      "..\\evil.txt",
      "/tmp/evil.txt",
      "\\evil.txt",
      "\\\\server\\s\\x",
      "//server/share/x",
      "C:\\evil.txt",
      "c:evil.txt",
      "file.txt:stream",
      "\\\\?\\C:\\evil",
      "\\\\.\\nul",
      "CON",
      "docs/nul.txt",
      "Com1.log",
      "lpt1",
      "evil.txt.",
      "a/./b",
      "wild*.txt",
      "",
  };
  ZipWriter writer;
  for (const std::string& name : names) writer.file(name, "payload");
  writer.symlink("link", "/etc/passwd");
  writer.symlink("docs/link2", "../../outside");
  writeArchive(writer);
  const std::set<std::string> before = tree(temp.path());

  std::vector<std::string> all(std::begin(names), std::end(names));
  all.push_back("link");
  all.push_back("docs/link2");
  for (const std::string& name : all) {
    SCOPED_TRACE(name);
    EXPECT_EQ(extract(name), unzip::UnsafeName);
    ASSERT_NE(error(), nullptr);
    EXPECT_EQ(error()->code, unzip::UnsafeName);
    EXPECT_NE(error()->text, "");
    EXPECT_EQ(actions(), std::vector<std::int32_t>{unzip::ActionError});
  }
  EXPECT_EQ(tree(temp.path()), before);
  EXPECT_TRUE(tree(destination).empty());
}

// Buffers that hold no terminating zero within their 256 bytes are refused without reading past
// them (the sanitizer build checks the bounds).
TEST_F(UnzipLibraryTest, FullBuffersAreRefused) {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  writeArchive(writer);
  // 255 characters and the zero fill the buffer exactly: the name is read whole.
  EXPECT_EQ(extract(std::string(255, 'n')), unzip::EntryNotFound);

  auto full = std::make_unique<char[]>(unzip::NameBufferSize);
  std::memset(full.get(), 'n', unzip::NameBufferSize);
  auto path = std::make_unique<char[]>(unzip::NameBufferSize);
  std::memset(path.get(), 0, unzip::NameBufferSize);
  archive().string().copy(path.get(), unzip::NameBufferSize - 1);
  params->ArchivePath = path.get();
  params->FileSpecs[0] = full.get();
  messages.clear();
  EXPECT_EQ(entryPoint()(params.get()), unzip::NameTooLong);
  ASSERT_NE(error(), nullptr);
  EXPECT_EQ(error()->code, unzip::NameTooLong);

  params->ArchivePath = full.get();
  messages.clear();
  EXPECT_EQ(entryPoint()(params.get()), unzip::NameTooLong);
  EXPECT_TRUE(tree(destination).empty());
}

// Damaged entries: an error with its code, then the end of the item, and no file under the
// final name: neither a new one nor a changed old one. No temporary file stays behind. Small
// entries are checked in memory and large ones streamed: both sizes are tried.
TEST_F(UnzipLibraryTest, DamagedDataLeavesNoFileUnderTheFinalName) {
  auto size = [](const Entry& e, long change) {
    return static_cast<std::uint32_t>(static_cast<long>(e.data.size()) + change);
  };
  struct Case {
    const char* what;
    bool deflate;
    std::int32_t expected;
    std::function<void(Entry&)> change;
    bool flipDataByte;
  } cases[] = {
      {"flipped byte, stored", false, unzip::ChecksumError, nullptr, true},
      {"flipped byte, deflated", true, 0, nullptr, true},
      {"wrong CRC, stored", false, unzip::ChecksumError,
       [](Entry& e) { e.crc = testzip::crc32Of(e.data) ^ 1; }, false},
      {"wrong CRC, deflated", true, unzip::ChecksumError, [](Entry& e) { e.crc = 0x12345678; },
       false},
      {"size too small, deflated", true, unzip::DataError,
       [&](Entry& e) { e.uncompressedSize = size(e, -1); }, false},
      {"size too large, deflated", true, unzip::DataError,
       [&](Entry& e) { e.uncompressedSize = size(e, 1); }, false},
      {"compressed size cut short", true, unzip::DataError,
       [](Entry& e) { e.compressedSize = 100; }, false},
      {"compressed size past the end", true, unzip::DataError,
       [](Entry& e) { e.compressedSize = 0x7FFFFFFF; }, false},
      {"stored sizes differ", false, unzip::DataError, [](Entry& e) { e.uncompressedSize = 5; },
       false},
      {"unknown method", false, unzip::Unsupported, [](Entry& e) { e.method = 12; }, false},
      {"encrypted", true, unzip::Unsupported, [](Entry& e) { e.flags = 1; }, false},
  };
  for (std::size_t dataSize : {200000u, 300000u}) {
    const std::string data = pattern(dataSize, 9);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      SCOPED_TRACE(dataSize);
      Entry entry;
      entry.name = "docs/data.bin";
      entry.data = data;
      entry.deflate = c.deflate;
      if (c.change) c.change(entry);
      ZipWriter writer;
      writer.add(entry);
      testzip::Layout layout;
      std::string bytes = writer.build(&layout);
      if (c.flipDataByte) bytes[layout.data[0] + 1000] ^= 0x20;
      writeArchive(bytes);
      fs::remove_all(destination / "docs");

      const std::int32_t result = extract("docs/data.bin");
      if (c.expected != 0)
        EXPECT_EQ(result, c.expected);
      else
        EXPECT_TRUE(result == unzip::DataError || result == unzip::ChecksumError) << result;
      ASSERT_NE(error(), nullptr);
      EXPECT_EQ(error()->code, result);
      EXPECT_EQ(actions().back(), unzip::ActionItemEnds);
      EXPECT_EQ(tree(destination), std::set<std::string>{"docs"});

      // An older file under the name is left as it was.
      { std::ofstream(destination / "docs" / "data.bin") << "older"; }
      EXPECT_EQ(extract("docs/data.bin"), result);
      EXPECT_EQ(readFile(destination / "docs" / "data.bin"), "older");
      EXPECT_EQ(tree(destination), (std::set<std::string>{"docs", "docs/data.bin"}));
    }
  }
}

TEST_F(UnzipLibraryTest, ArchiveAndEntryFailures) {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  writeArchive(writer);
  struct Case {
    const char* what;
    std::string archivePath;
    std::string name;
    std::int32_t expected;
  } cases[] = {
      {"entry missing", archive().string(), "b.txt", unzip::EntryNotFound},
      {"names compare exactly", archive().string(), "A.TXT", unzip::EntryNotFound},
      {"archive missing", (temp.path() / "none.qfs").string(), "a.txt", unzip::ArchiveNotFound},
      {"archive is a folder", temp.path().string(), "a.txt", unzip::ArchiveNotFound},
      {"no archive path", "", "a.txt", unzip::BadParameters},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(extract(c.archivePath, c.name), c.expected);
    ASSERT_NE(error(), nullptr);
    EXPECT_EQ(error()->code, c.expected);
  }
  temp.write("text.qfs", std::string(5000, 'x'));
  EXPECT_EQ(extract((temp.path() / "text.qfs").string(), "a.txt"), unzip::NotAnArchive);
  params->FileSpecCount = 0;
  EXPECT_EQ(extract("a.txt"), unzip::BadParameters);
  EXPECT_EQ(entryPoint()(nullptr), unzip::BadParameters);
  EXPECT_TRUE(tree(destination).empty());
}

TEST_F(UnzipLibraryTest, SeveralEntriesNamedInOneCall) {
  ZipWriter writer;
  writer.file("a.txt", "alpha").file("b.txt", "beta");
  writeArchive(writer);
  std::vector<std::unique_ptr<char[]>> buffers;
  auto buffer = [&](const std::string& text) {
    buffers.push_back(std::make_unique<char[]>(unzip::NameBufferSize));
    std::memset(buffers.back().get(), 0, unzip::NameBufferSize);
    text.copy(buffers.back().get(), unzip::NameBufferSize - 1);
    return buffers.back().get();
  };
  params->ArchivePath = buffer(archive().string());
  params->FileSpecCount = 3;
  params->FileSpecs[0] = buffer("a.txt");
  params->FileSpecs[1] = buffer("missing");
  params->FileSpecs[2] = buffer("b.txt");
  EXPECT_EQ(entryPoint()(params.get()), unzip::EntryNotFound);
  EXPECT_EQ(tree(destination), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(UnzipLibraryTest, ExistingFilesAndFolders) {
  ZipWriter writer;
  writer.file("a.txt", "new").file("docs/b.txt", "bee").file("c", "sea");
  writeArchive(writer);
  { std::ofstream(destination / "a.txt") << "old"; }
  fs::create_directories(destination / "c");

  params->Overwrite = unzip::Off;
  EXPECT_EQ(extract("a.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "a.txt"), "old");
  params->Overwrite = unzip::On;
  EXPECT_EQ(extract("a.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "a.txt"), "new");

  // A folder where the file goes, and a file where a folder is needed.
  EXPECT_EQ(extract("c"), unzip::WriteError);
  { std::ofstream(destination / "docs") << "file"; }
  EXPECT_EQ(extract("docs/b.txt"), unzip::WriteError);
  EXPECT_EQ(readFile(destination / "docs"), "file");

  // Without folders, the bare name is written.
  params->UseFolders = unzip::Off;
  EXPECT_EQ(extract("docs/b.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "b.txt"), "bee");
}

// Folders are found without regard to the case of A-Z, as on Windows.
TEST_F(UnzipLibraryTest, ExistingFolderOfOtherCaseIsUsed) {
  ZipWriter writer;
  writer.file("docs/readme.txt", "read me");
  writeArchive(writer);
  fs::create_directories(destination / "Docs");
  EXPECT_EQ(extract("docs/readme.txt"), unzip::Ok);
  EXPECT_EQ(tree(destination), (std::set<std::string>{"Docs", "Docs/readme.txt"}));
}

TEST_F(UnzipLibraryTest, KeptDirectoryFollowsChangesOfTheArchive) {
  ZipWriter first;
  first.file("a.txt", "first");
  writeArchive(first);
  EXPECT_EQ(extract("a.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "a.txt"), "first");

  ZipWriter second;
  second.file("a.txt", "second version").file("b.txt", "bee");
  writeArchive(second);
  EXPECT_EQ(extract("a.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "a.txt"), "second version");
  EXPECT_EQ(extract("b.txt"), unzip::Ok);

  // Another archive path is another archive.
  temp.write("other.qfs", first.build());
  EXPECT_EQ(extract((temp.path() / "other.qfs").string(), "a.txt"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "a.txt"), "first");
  EXPECT_EQ(extract("b.txt"), unzip::Ok);
}

TEST_F(UnzipLibraryTest, ManyEntriesBeyondTheSixteenBitCount) {
  ZipWriter writer;
  auto name = [](int i) { return std::string("f/").append(std::to_string(i)); };
  for (int i = 0; i < 70000; ++i) writer.file(name(i), std::to_string(i));
  writeArchive(writer);
  for (int i : {0, 65535, 65536, 69999}) {
    EXPECT_EQ(extract(name(i)), unzip::Ok) << i;
    EXPECT_EQ(readFile(destination / "f" / std::to_string(i)), std::to_string(i));
  }
}

TEST_F(UnzipLibraryTest, CancelFromTheCallbackDiscardsTheItem) {
  ZipWriter writer;
  writer.file("small.bin", pattern(200000, 4), true); // checked in memory
  writer.file("big.bin", pattern(300000, 4), true);   // streamed
  writeArchive(writer);
  onMessage = [](const UnZipCallbackInfo& info) {
    return info.ActionCode == unzip::ActionItemProgress ? 1 : 0;
  };
  for (const char* name : {"small.bin", "big.bin"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(extract(name), unzip::Cancelled);
    EXPECT_EQ(actions(), (std::vector<std::int32_t>{1, 2, 4, 3}));
    EXPECT_TRUE(tree(destination).empty());
  }
}

// An error raised in the callback travels back through the library to the caller; the item is
// discarded and the library works again at the next call.
TEST_F(UnzipLibraryTest, ErrorRaisedInTheCallbackReachesTheCaller) {
  ZipWriter writer;
  writer.file("small.bin", pattern(200000, 4), true);
  writer.file("big.bin", pattern(300000, 4), true);
  writeArchive(writer);
  for (const char* name : {"small.bin", "big.bin"}) {
    SCOPED_TRACE(name);
    onMessage = [](const UnZipCallbackInfo& info) -> std::int32_t {
      if (info.ActionCode == unzip::ActionItemProgress) throw std::runtime_error("user cancel");
      return 0;
    };
    EXPECT_THROW(extract(name), std::runtime_error);
    EXPECT_TRUE(tree(destination).empty());
  }
  onMessage = nullptr;
  EXPECT_EQ(extract("small.bin"), unzip::Ok);
  EXPECT_EQ(extract("big.bin"), unzip::Ok);
  EXPECT_EQ(readFile(destination / "small.bin"), pattern(200000, 4));
  EXPECT_EQ(readFile(destination / "big.bin"), pattern(300000, 4));
}

#ifdef QF_EMULATED_MACHINE
// Files get the entry's MS-DOS time as local time, also for several entries within one hour.
TEST_F(UnzipLibraryTest, ExtractedFilesCarryTheEntryTime) {
  struct When {
    int year, month, day, hour, minute, second;
  };
  const When times[] = {{2025, 1, 15, 13, 33, 2}, {2025, 1, 15, 13, 59, 58},
                        {2025, 1, 15, 14, 0, 0},  {2025, 7, 4, 8, 30, 10},
                        {1980, 1, 1, 0, 0, 0},    {2024, 2, 29, 23, 59, 0}};
  ZipWriter writer;
  for (std::size_t i = 0; i < std::size(times); ++i) {
    const When& w = times[i];
    Entry entry;
    entry.name = "t" + std::to_string(i);
    entry.data = "x";
    entry.dosTime =
        static_cast<std::uint32_t>(((w.year - 1980) << 25) | (w.month << 21) | (w.day << 16) |
                                   (w.hour << 11) | (w.minute << 5) | (w.second / 2));
    writer.add(entry);
  }
  writeArchive(writer);
  for (std::size_t i = 0; i < std::size(times); ++i) {
    const When& w = times[i];
    SCOPED_TRACE(i);
    ASSERT_EQ(extract("t" + std::to_string(i)), unzip::Ok);
    std::tm local{};
    local.tm_year = w.year - 1900;
    local.tm_mon = w.month - 1;
    local.tm_mday = w.day;
    local.tm_hour = w.hour;
    local.tm_min = w.minute;
    local.tm_sec = w.second;
    local.tm_isdst = -1;
    const auto written = std::chrono::file_clock::to_sys(
        fs::last_write_time(destination / ("t" + std::to_string(i))));
    EXPECT_EQ(std::chrono::system_clock::to_time_t(
                  std::chrono::time_point_cast<std::chrono::system_clock::duration>(written)),
              std::mktime(&local));
  }
}
#endif

std::int32_t QF_UNZIP_CALL countCalls(UnZipCallbackInfo* info) {
  ++*static_cast<int*>(info->Caller);
  return 0;
}

TEST_F(UnzipLibraryTest, CallerPointerIsHandedBack) {
  ZipWriter writer;
  writer.file("a.txt", "alpha");
  writeArchive(writer);
  int marker = 0;
  params->Caller = &marker;
  params->Callback = &countCalls;
  EXPECT_EQ(extract("a.txt"), unzip::Ok);
  EXPECT_EQ(marker, 2); // item begins, item ends
}

} // namespace
