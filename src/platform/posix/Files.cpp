// File and folder queries of the emulated machine, through its Windows path mapping.
#include "platform/Files.h"

#include "platform/posix/Machine.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

using posix::Machine;

namespace fs = std::filesystem;

namespace {

fs::file_type typeOf(const std::string& path) {
  // The real calls fail on empty text rather than asking about the current folder.
  if (std::string_view(path.c_str()).empty()) return fs::file_type::not_found;
  fs::path host = Machine::ready().hostPath(path);
  if (host.empty()) return fs::file_type::not_found;
  std::error_code ec;
  return fs::status(host, ec).type();
}

bool endsWithSeparator(const std::string& path) {
  std::string_view text(path.c_str());
  return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

} // namespace

bool directoryExists(const std::string& path) { return typeOf(path) == fs::file_type::directory; }

bool fileExists(const std::string& path) {
  // "name\" names a folder; a file under that name is not found, as on Windows.
  if (endsWithSeparator(path)) return false;
  fs::file_type type = typeOf(path);
  return type != fs::file_type::not_found && type != fs::file_type::none &&
         type != fs::file_type::directory;
}

} // namespace platform
