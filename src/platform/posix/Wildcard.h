// File-name masks matched the way the system's file search matches them.
#pragma once

#include <string_view>

namespace platform::posix {

// `name` matches `mask`: letters A-Z in either case; "*" any run of characters; "?" one
// character, or none at a dot or at the end of the name ("a?.txt" matches "a.txt"); "*" before
// a dot runs only up to the name's last dot ("*.txt" does not match "a.txt.bak"); a dot before
// "*", "?" or the end of the mask also matches the end of a name without extension ("*.*"
// matches "readme", "*." matches only names without a dot).
bool matchesMask(std::string_view name, std::string_view mask);

} // namespace platform::posix
