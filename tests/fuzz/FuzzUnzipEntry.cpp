// libFuzzer target: any bytes as the archive of an extraction. Every entry the directory lists
// (the first few) is extracted by one library call into a fresh folder; nothing may crash, hang,
// or appear anywhere but inside that folder.
#include "ArchiveDirectory.h"
#include "HostFiles.h"
#include "Unzip.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder() {
  static const fs::path folder = [] {
    auto path =
        fs::temp_directory_path() / ("qf-fuzz-unzip-" + std::to_string(std::random_device{}()));
    fs::create_directories(path / "dest");
    return path;
  }();
  return folder;
}

std::set<std::string> listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::directory_iterator(folder)) names.insert(item.path().string());
  return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static unsigned counter = 0;
  const fs::path& work = workFolder();
  // A new name for every input, so that the library's kept directory never serves a stale one.
  const fs::path archive = work / ("input" + std::to_string(counter++ % 2) + ".zip");
  {
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const std::set<std::string> before = listing(work);

  unzdll::host::ReadFile file;
  unzdll::ArchiveDirectory directory;
  std::string error;
  if (!file.open(archive.string()) || !directory.read(file, error)) return 0;

  const fs::path destination = work / "dest";
  const fs::path previous = fs::current_path();
  fs::current_path(destination);
  auto params = std::make_unique<UnZipParams>();
  params->Overwrite = -1;
  params->UseFolders = -1;
  params->MessageLevel = 7;
  params->FileSpecCount = 1;
  auto path = std::make_unique<char[]>(256);
  auto fileSpec = std::make_unique<char[]>(256);
  std::memset(path.get(), 0, 256);
  archive.string().copy(path.get(), 255);
  params->ArchivePath = path.get();
  params->FileSpecs[0] = fileSpec.get();
  std::size_t done = 0;
  for (const unzdll::DirectoryEntry& entry : directory.entries()) {
    if (done++ == 4) break;
    std::memset(fileSpec.get(), 0, 256);
    directory.name(entry).copy(fileSpec.get(), 255);
    unzdll::run(params.get());
  }
  fs::current_path(previous);

  if (listing(work) != before) std::abort(); // something was written outside the folder
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(destination, ec)) fs::remove_all(item.path(), ec);
  return 0;
}
