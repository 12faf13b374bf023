// Reading a whole file, by Windows path text, as the bytes it holds.
#pragma once

#include <optional>
#include <string>

namespace app {

// The file's bytes; nothing when it is missing, is a folder, or cannot be read to its end.
std::optional<std::string> ReadFileBytes(const std::string& path);

} // namespace app
