// Reading and indexing an archive's central directory, ZIP64 sizes and offsets included.
#include "ArchiveDirectory.h"

#include <algorithm>

namespace unzdll {
namespace {

constexpr std::uint32_t EndSignature = 0x06054b50u;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50u;
constexpr std::uint32_t Zip64EndSignature = 0x06064b50u;
constexpr std::uint32_t CentralSignature = 0x02014b50u;
constexpr std::size_t EndSize = 22;
constexpr std::size_t MaxComment = 65535;

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}
std::uint64_t le64(const unsigned char* p) {
  return std::uint64_t{le32(p)} | std::uint64_t{le32(p + 4)} << 32;
}

struct Location {
  std::uint64_t offset{0};
  std::uint64_t size{0};
};

// The ZIP64 end record named by the locator just before the end record at `end`, if any.
bool readZip64Location(const host::ReadFile& file, std::uint64_t end, Location& location) {
  unsigned char locator[20];
  if (end < sizeof locator || file.readAt(end - sizeof locator, locator, sizeof locator) != 20 ||
      le32(locator) != Zip64LocatorSignature)
    return false;
  const std::uint64_t recordAt = le64(locator + 8);
  unsigned char record[56];
  if (recordAt >= end || file.readAt(recordAt, record, sizeof record) != sizeof record ||
      le32(record) != Zip64EndSignature)
    return false;
  location.size = le64(record + 40);
  location.offset = le64(record + 48);
  return location.offset <= recordAt && location.size <= recordAt - location.offset;
}

// Replaces the 32-bit fields that say "see the ZIP64 extra field" by that field's values.
void applyZip64Extra(const unsigned char* extra, std::size_t length, DirectoryEntry& entry) {
  std::size_t at = 0;
  while (at + 4 <= length) {
    const std::uint16_t id = le16(extra + at);
    const std::uint16_t size = le16(extra + at + 2);
    if (at + 4 + size > length) return;
    if (id == 0x0001) {
      const unsigned char* value = extra + at + 4;
      std::size_t left = size;
      auto take = [&](std::uint64_t& field) {
        if (field != 0xFFFFFFFFu || left < 8) return;
        field = le64(value);
        value += 8;
        left -= 8;
      };
      take(entry.uncompressedSize);
      take(entry.compressedSize);
      take(entry.localOffset);
      return;
    }
    at += 4u + size;
  }
}

} // namespace

bool ArchiveDirectory::read(const host::ReadFile& file, std::string& error) {
  bytes_.clear();
  entries_.clear();
  index_.clear();
  const std::uint64_t size = file.size();
  if (size < EndSize) {
    error = "not a ZIP archive (too short)";
    return false;
  }
  const std::size_t tailSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, EndSize + MaxComment));
  std::vector<unsigned char> tail(tailSize);
  if (file.readAt(size - tailSize, tail.data(), tailSize) != tailSize) {
    error = "cannot read the archive";
    return false;
  }
  Location location;
  bool found = false;
  for (std::size_t p = tailSize - EndSize + 1; p-- > 0;) {
    if (tail[p] != 0x50 || le32(&tail[p]) != EndSignature) continue;
    const std::uint64_t end = size - tailSize + p;
    location.size = le32(&tail[p + 12]);
    location.offset = le32(&tail[p + 16]);
    const bool wide = le16(&tail[p + 10]) == 0xFFFF || location.size == 0xFFFFFFFFu ||
                      location.offset == 0xFFFFFFFFu;
    if (wide && readZip64Location(file, end, location)) {
      found = true;
      break;
    }
    if (location.offset <= end && location.size <= end - location.offset) {
      found = true;
      break;
    }
  }
  if (!found) {
    error = "not a ZIP archive (no central directory)";
    return false;
  }
  bytes_.resize(static_cast<std::size_t>(location.size));
  if (file.readAt(location.offset, bytes_.data(), bytes_.size()) != bytes_.size()) {
    error = "cannot read the central directory";
    return false;
  }
  const auto* b = reinterpret_cast<const unsigned char*>(bytes_.data());
  std::size_t at = 0;
  while (at + 46 <= bytes_.size() && le32(b + at) == CentralSignature) {
    const unsigned char* r = b + at;
    const std::size_t nameLength = le16(r + 28);
    const std::size_t extraLength = le16(r + 30);
    const std::size_t commentLength = le16(r + 32);
    const std::size_t total = 46 + nameLength + extraLength + commentLength;
    if (total > bytes_.size() - at || at + 46 > 0xFFFFFFFFu) break;
    DirectoryEntry entry;
    entry.versionMadeBy = le16(r + 4);
    entry.flags = le16(r + 8);
    entry.method = le16(r + 10);
    entry.dosTime = le32(r + 12);
    entry.crc = le32(r + 16);
    entry.compressedSize = le32(r + 20);
    entry.uncompressedSize = le32(r + 24);
    entry.externalAttributes = le32(r + 38);
    entry.localOffset = le32(r + 42);
    entry.nameOffset = static_cast<std::uint32_t>(at + 46);
    entry.nameLength = static_cast<std::uint16_t>(nameLength);
    applyZip64Extra(r + 46 + nameLength, extraLength, entry);
    entries_.push_back(entry);
    at += total;
  }
  index_.reserve(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i)
    index_[name(entries_[i])] = static_cast<std::uint32_t>(i);
  return true;
}

const DirectoryEntry* ArchiveDirectory::find(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : &entries_[it->second];
}

std::string_view ArchiveDirectory::name(const DirectoryEntry& entry) const {
  return {bytes_.data() + entry.nameOffset, entry.nameLength};
}

} // namespace unzdll
