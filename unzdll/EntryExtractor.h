// Writes one entry's data: stored or deflated, streamed through fixed buffers, with its size
// and CRC-32 checked against the directory.
#pragma once

#include "ArchiveDirectory.h"
#include "HostFiles.h"

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace unzdll {

class EntryExtractor {
public:
  EntryExtractor();
  ~EntryExtractor();
  EntryExtractor(const EntryExtractor&) = delete;
  EntryExtractor& operator=(const EntryExtractor&) = delete;

  // Told the count of bytes written so far after each write; false stops the extraction.
  using Progress = std::function<bool(std::uint64_t written)>;

  // Takes the data piece by piece as it is produced; false, with `error` set, stops it.
  using Sink =
      std::function<bool(const unsigned char* data, std::size_t count, std::string& error)>;

  // Hands the data of `entry` to `sink`. Returns unzip::Ok, or an error code with `error` set:
  // unzip::WriteError when the sink refused, unzip::Cancelled when `progress` said stop.
  std::int32_t extract(const host::ReadFile& archive, const DirectoryEntry& entry, const Sink& sink,
                       const Progress& progress, std::string& error);
  // Writes the data of `entry` to `out`.
  std::int32_t extract(const host::ReadFile& archive, const DirectoryEntry& entry,
                       host::WriteFile& out, const Progress& progress, std::string& error);
  // Appends the data of `entry` to `memory`; only for entries known to be small.
  std::int32_t extract(const host::ReadFile& archive, const DirectoryEntry& entry,
                       std::string& memory, const Progress& progress, std::string& error);

private:
  std::vector<unsigned char> input_;
  std::vector<unsigned char> output_;
  z_stream inflater_{};
  bool inflaterReady_{false};
};

} // namespace unzdll
