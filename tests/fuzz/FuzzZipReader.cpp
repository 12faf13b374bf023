// libFuzzer target: any bytes opened as an archive by the directory reader must list without a
// crash, a hang or a read outside the file.
#include "engine/ZipArchive.h"
#include "platform/posix/Machine.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

volatile std::size_t sink; // keeps the walk over the listing from being optimised away

std::filesystem::path workFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("qf-fuzz-reader-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path / "machine");
    platform::posix::Machine::instance().reset(path / "machine");
    return path;
  }();
  return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path file = workFolder() / "setup.qfs";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TZipArchive zip;
  zip.Open(file.string());
  // Walk what the program reads, so that the sanitizers see every byte of it.
  std::size_t total = 0;
  for (int i = 0; i < zip.Entries.Count(); ++i) {
    const TZipEntry& entry = zip.Entries[i];
    for (unsigned char c : entry.CentralRecord.FileName) total += c;
    for (unsigned char c : entry.LocalRecord.FileName) total += c;
    total += entry.CentralRecord.UncompressedSize;
  }
  for (const std::string& line : zip.FileNames()) total += line.size();
  for (const std::string& line : zip.Comment()) total += line.size();
  zip.Close();
  sink = total;
  return 0;
}
