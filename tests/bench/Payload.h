// The benchmark payloads: deterministic files, zipped by the zip tool as a publisher would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// Runs a shell command; true when it exits with 0.
bool run(const std::string& command);
// Quotes text for the shell.
std::string quoted(const std::string& text);
// Whether a program is on the PATH.
bool haveTool(const std::string& name);

struct PayloadInfo {
  std::filesystem::path archive; // <work>/<payload>/setup.qfs
  std::uint64_t entries{0};      // archive entries, folder entries included
  std::uint64_t files{0};        // regular files among them
  std::uint64_t bytes{0};        // uncompressed bytes of all files
};

// Payload A: 10,000 text files of 0.2 to 8 KB in 100 folders and 20 files of 8 MiB (half random
// bytes, half long runs), zipped with `zip -q -r`. Made once in `work`, reused when present.
PayloadInfo payloadA(const std::filesystem::path& work);

// Payload B: 100,000 files of 16 bytes in 100 folders, zipped without folder entries.
PayloadInfo payloadB(const std::filesystem::path& work);

} // namespace bench
