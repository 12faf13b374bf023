// Environment, system folders, colours and the tick counter of the emulated machine, answered
// with the limits of the real calls (MAX_PATH buffers, sizes that count the terminating zero).
#include "platform/System.h"

#include "platform/posix/Machine.h"

#include <string_view>

namespace platform {

using posix::Machine;

namespace {

// The buffer the real calls write into; a path must fit with its terminating zero.
constexpr std::size_t kMaxPath = 260;

// What a caller reads back from a buffer: the characters up to the first zero.
std::string upToZero(const std::string& text) { return std::string(text.c_str()); }

} // namespace

std::string environmentVariable(const std::string& name) {
  return upToZero(Machine::ready().environment(name).value_or(std::string()));
}

std::string shellFolder(int csidl) {
  Machine& machine = Machine::ready();
  if (machine.shellFoldersFail()) return {};
  std::string path = upToZero(machine.shellFolder(csidl).value_or(std::string()));
  // A path that does not fit the buffer makes the real call fail; it is never cut.
  if (path.size() >= kMaxPath) return {};
  return path;
}

WindowsDirectory windowsDirectory() {
  auto [path, written] = Machine::ready().windowsDirectory();
  path = upToZero(path);
  // Too long for the buffer: the real call writes nothing and reports the size it needs.
  if (path.size() >= kMaxPath) return {std::string(), static_cast<std::uint32_t>(path.size() + 1)};
  return {path, written};
}

std::uint32_t tempPathSize() {
  const std::optional<std::string>& path = Machine::ready().tempPath();
  if (!path) return 0;
  return static_cast<std::uint32_t>(upToZero(*path).size() + 1);
}

std::string tempPath(std::uint32_t bufferSize) {
  const std::optional<std::string>& path = Machine::ready().tempPath();
  if (!path) return {};
  std::string text = upToZero(*path);
  // A buffer without room for the path and its zero gets nothing, as from the real call.
  if (bufferSize < text.size() + 1) return {};
  return text;
}

std::uint32_t tickCount() { return Machine::ready().tickCount(); }

std::uint32_t systemColor(int index) { return Machine::ready().systemColor(index); }

std::string programPath() { return Machine::ready().programPath(); }

void attachParentConsoleForErrors() {}

} // namespace platform
