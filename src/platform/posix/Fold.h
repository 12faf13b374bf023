// Case-insensitive comparison the way Windows names are compared here: only A-Z fold, every other
// byte (accented letters of the code page included) must match exactly.
#pragma once

#include <string_view>

namespace platform::posix {

inline char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

inline bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  return true;
}

// Orders by folded bytes, as unsigned values.
inline bool lessNoCase(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(foldAscii(a[i]));
    auto y = static_cast<unsigned char>(foldAscii(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

struct LessNoCase {
  bool operator()(std::string_view a, std::string_view b) const { return lessNoCase(a, b); }
};

} // namespace platform::posix
