// Reading a whole file through the platform's file stream.
#include "app/FileBytes.h"

#include "platform/FileStream.h"

#include <limits>

namespace app {

std::optional<std::string> ReadFileBytes(const std::string& path) {
  const platform::FileStream file = platform::FileStream::openRead(path);
  if (!file.isOpen()) return std::nullopt;
  const std::uint64_t size = file.size();
  if (size > std::numeric_limits<std::size_t>::max() / 2) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (file.readAt(0, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
  return bytes;
}

} // namespace app
