// Character tests on Windows path text, shared by the emulated machine's path handling.
#pragma once

#include <string_view>

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

} // namespace platform::posix
