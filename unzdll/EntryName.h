// Checks an entry name before anything is written: only plain relative names below the current
// folder pass, split into their folder parts and the file part.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace unzdll {

struct EntryPath {
  std::vector<std::string_view> folders; // folder parts, outermost first
  std::string_view file;                 // the file part; empty for a folder entry
};

// Splits `name` at "/" and "\" into `path`. Returns an empty text when the name is safe, else
// why it is refused: empty names, absolute, UNC and device paths, any ":" (drive letters and
// alternate data streams), parts that end in "." or " " (among them "." and ".."), control and
// wildcard characters, and reserved device names (CON, NUL, COM1 ...), in any folder part.
std::string checkEntryName(std::string_view name, EntryPath& path);

} // namespace unzdll
