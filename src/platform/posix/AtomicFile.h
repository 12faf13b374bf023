// Replacing a host file in one step, so that a reader sees either the old bytes or the new.
#pragma once

#include <filesystem>
#include <string>

namespace platform::posix {

// Writes `bytes` to a hidden temporary file beside `file` (mode 0644) and renames it over `file`.
// False, with `file` untouched and no temporary left behind, when any step fails.
bool writeFileAtomically(const std::filesystem::path& file, const std::string& bytes);

} // namespace platform::posix
