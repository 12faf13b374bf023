// Windows path text made full the way the system's full-path call makes it, for the emulated
// machine's current folder and for the paths it records.
#pragma once

#include <string>

namespace platform::posix {

// The full form of `text` with `current` (a full path) as the base of relative forms: "X:\..."
// and "\\server\share\..." stand as they are; "\x" starts at the root of the current drive or
// share, "X:x" at the current folder when that is on drive X (else at X:\), anything else at the
// current folder. Runs of separators become one backslash, "." and ".." are resolved without
// climbing above the drive or share, and only a drive root keeps a trailing backslash
// ("C:\"). The case of the text is kept. Host paths ("/...") keep their form, with slashes.
// Empty text (or text that starts with a zero byte) gives "".
std::string fullPathName(const std::string& text, const std::string& current);

// The text is a full Windows path: "X:\..." or "\\server\share...".
bool isFullWindowsPath(const std::string& text);

} // namespace platform::posix
