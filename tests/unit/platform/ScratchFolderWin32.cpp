// Scratch folders on Windows: real files in the real temporary folder, removed afterwards.
#include "unit/platform/ScratchFolder.h"

#include "platform/Files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

ScratchFolder::ScratchFolder() : path_(makeScratchFolder()) {}

ScratchFolder::~ScratchFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  // Read-only and hidden files would stop the removal.
  for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
    platform::setFileAttributes(it->path().string(), platform::fileattr::Normal);
  fs::remove_all(path_, ec);
}

void ScratchFolder::writeFile(const std::string& relative, const std::string& content) const {
  std::ofstream(*this / relative, std::ios::binary | std::ios::trunc) << content;
}

std::optional<std::string> ScratchFolder::readFile(const std::string& relative) const {
  std::ifstream in(*this / relative, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
