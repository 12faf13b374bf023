// The parsed central directory of one archive, with an index by entry name, so that each call
// finds its entry without reading the directory again.
#pragma once

#include "HostFiles.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace unzdll {

struct DirectoryEntry {
  std::uint32_t nameOffset{0}; // into the directory's bytes
  std::uint16_t nameLength{0};
  std::uint16_t versionMadeBy{0};
  std::uint16_t flags{0};
  std::uint16_t method{0};
  std::uint32_t dosTime{0};
  std::uint32_t crc{0};
  std::uint32_t externalAttributes{0};
  std::uint64_t compressedSize{0};
  std::uint64_t uncompressedSize{0};
  std::uint64_t localOffset{0};
};

class ArchiveDirectory {
public:
  // Finds the end record (the one nearest the end whose directory lies before it), reads the
  // whole central directory in one piece and indexes it. Records are taken while they are whole
  // and signed, whatever count the end record claims. False with `error` when there is no
  // directory.
  bool read(const host::ReadFile& file, std::string& error);

  // The entry stored under exactly this name; the last one when several share it.
  const DirectoryEntry* find(std::string_view name) const;
  std::string_view name(const DirectoryEntry& entry) const;
  const std::vector<DirectoryEntry>& entries() const { return entries_; }

private:
  std::vector<char> bytes_;
  std::vector<DirectoryEntry> entries_;
  std::unordered_map<std::string_view, std::uint32_t> index_;
};

} // namespace unzdll
