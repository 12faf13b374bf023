// Character tests on Windows path text, shared by the emulated machine's path handling.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

inline bool isSeparator(char c) { return c == '\\' || c == '/'; }

inline bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "C:" at the start, whatever follows.
inline bool hasDrive(std::string_view text) {
  return text.size() >= 2 && isDriveLetter(text[0]) && text[1] == ':';
}

// Two leading separators: a network path.
inline bool isUnc(std::string_view text) {
  return text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1]);
}

// Appends the components of `text` to `parts`: runs of separators are one, "." is dropped and
// ".." drops the last component, but never one of the first `floor` (a drive's top folder, a
// network path's server and share).
inline void appendComponents(std::vector<std::string>& parts, std::string_view text,
                             std::size_t floor = 0) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isSeparator(text[i])) ++i;
    const std::string_view part = text.substr(start, i - start);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.size() > floor) parts.pop_back();
      continue;
    }
    parts.emplace_back(part);
  }
}

} // namespace platform::posix
