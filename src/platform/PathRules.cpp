// Path-text rules shared by the real and the emulated platform.
#include "platform/PathRules.h"

#include <algorithm>

namespace platform {

namespace {

char foldAZ(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string_view upToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

} // namespace

std::vector<std::string> splitMasks(std::string_view masks) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start <= masks.size()) {
    std::size_t end = masks.find(';', start);
    if (end == std::string_view::npos) end = masks.size();
    if (end > start) result.emplace_back(masks.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

void sortNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
      auto x = static_cast<unsigned char>(foldAZ(a[i]));
      auto y = static_cast<unsigned char>(foldAZ(b[i]));
      if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

bool hasWildcard(std::string_view path) {
  return upToZero(path).find_first_of("*?") != std::string_view::npos;
}

bool namesRootOrNothing(std::string_view path) {
  std::string_view text = upToZero(path);
  std::size_t parts = 0;
  std::size_t i = 0;
  bool unc = text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1]);
  if (!unc && text.size() >= 2 && text[1] == ':') i = 2;
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    std::size_t start = i;
    while (i < text.size() && !isSeparator(text[i])) ++i;
    std::string_view part = text.substr(start, i - start);
    if (part == "..") {
      if (parts > 0) --parts;
    } else if (!part.empty() && part != ".") {
      ++parts;
    }
  }
  return parts <= (unc ? 2u : 0u);
}

} // namespace platform
