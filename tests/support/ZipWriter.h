// A small ZIP writer for tests: builds archives entry by entry with exact control over every
// field, so that tests can make well-formed archives and damaged or hostile ones alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testzip {

struct Entry {
  std::string name;
  std::string data;                    // the uncompressed content
  bool deflate{false};                 // method 8 (raw deflate) instead of 0 (stored)
  std::optional<std::uint16_t> method; // the stored method number, when it must differ
  std::uint16_t flags{0};
  std::uint16_t versionMadeBy{20};
  std::uint32_t externalAttributes{0x20};
  std::uint32_t dosTime{0x5A2F6C21}; // 2025-01-15 13:33:02
  std::string extra;
  std::string comment;
  // Values written instead of the true ones, in both headers (wrong on purpose).
  std::optional<std::uint32_t> crc;
  std::optional<std::uint32_t> compressedSize;
  std::optional<std::uint32_t> uncompressedSize;
  // Sizes and CRC after the data in a descriptor (flag bit 3); the local header holds zeros.
  bool dataDescriptor{false};
  bool descriptorSignature{true};
  // The name in the local header, when it must differ from the central one.
  std::optional<std::string> localName;
};

// Offsets of what was written, for tests that damage an archive afterwards.
struct Layout {
  std::vector<std::size_t> localHeaders;
  std::vector<std::size_t> data;
  std::size_t centralDirectory{0};
  std::size_t zip64EndRecord{0};
  std::size_t endRecord{0};
};

class ZipWriter {
public:
  ZipWriter& add(Entry entry);
  ZipWriter& file(const std::string& name, const std::string& data, bool deflate = false);
  ZipWriter& folder(const std::string& name); // name should end in "/"
  // A Unix symbolic link entry whose data is the link target.
  ZipWriter& symlink(const std::string& name, const std::string& target);

  std::string comment;                          // the archive comment
  bool centralDirectory{true};                  // write the central directory
  bool endRecord{true};                         // write the end record
  std::optional<std::uint16_t> entryCount;      // both counts in the end record
  std::optional<std::uint32_t> directoryOffset; // in the end record
  std::optional<std::uint16_t> commentLength;   // in the end record
  // A ZIP64 end record and its locator before the end record, as writers make them for more
  // than 65535 entries: the end record's counts then read 0xFFFF (unless entryCount is set),
  // and with zip64Saturate its directory size and offset read 0xFFFFFFFF too.
  bool zip64{false};
  bool zip64Saturate{false};
  bool zip64Locator{true};                           // false: the record without its locator
  std::optional<std::uint64_t> zip64EntryCount;      // both counts in the ZIP64 record
  std::optional<std::uint64_t> zip64RecordOffset;    // in the locator
  std::optional<std::uint64_t> zip64DirectoryOffset; // in the ZIP64 record

  // The archive's bytes; `layout` receives the offsets when given.
  std::string build(Layout* layout = nullptr) const;
  // Builds and writes to a host file.
  void write(const std::string& path, Layout* layout = nullptr) const;

private:
  std::vector<Entry> entries_;
};

std::string deflateRaw(const std::string& data);
std::uint32_t crc32Of(const std::string& data);
void putLe16(std::string& out, std::uint16_t value);
void putLe32(std::string& out, std::uint32_t value);
void putLe64(std::string& out, std::uint64_t value);

} // namespace testzip
