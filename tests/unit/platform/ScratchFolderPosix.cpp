// Scratch folders on the emulated machine: files are reached through the machine's path mapping.
#include "unit/platform/ScratchFolder.h"

#include "platform/posix/Machine.h"

#include <fstream>
#include <iterator>

namespace {

std::filesystem::path host(const std::string& path) {
  return platform::posix::Machine::ready().hostPath(path);
}

} // namespace

ScratchFolder::ScratchFolder() : path_(makeScratchFolder()) {}

// The folder goes with the machine's root.
ScratchFolder::~ScratchFolder() = default;

void ScratchFolder::writeFile(const std::string& relative, const std::string& content) const {
  std::ofstream(host(*this / relative), std::ios::binary | std::ios::trunc) << content;
}

std::optional<std::string> ScratchFolder::readFile(const std::string& relative) const {
  std::ifstream in(host(*this / relative), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
