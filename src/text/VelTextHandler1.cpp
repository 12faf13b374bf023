// The text operations of VelTextHandler: fields, runs of fields, counts, prefixes, removal and
// replacement, plus the property-driven forms of them.
#include "text/VelTextHandler1.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Only A-Z fold. Every other byte, accented letters included, compares as it stands, whatever
// locale the process runs under.
char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = foldCase(c);
  return out;
}

std::int32_t clampCount(std::size_t n) {
  constexpr auto most = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(n, most));
}

// True when a proper prefix of `pattern` is also its suffix, i.e. two occurrences can overlap.
bool overlapsItself(std::string_view pattern) {
  if (pattern.size() < 2) return false;
  std::vector<std::size_t> border(pattern.size(), 0);
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    std::size_t k = border[i - 1];
    while (k > 0 && pattern[i] != pattern[k]) k = border[k - 1];
    if (pattern[i] == pattern[k]) ++k;
    border[i] = k;
  }
  return border.back() > 0;
}

// Drops `count` leading fields: each time the text becomes what follows its leftmost separator;
// once no separator is left it stays as it is. An empty separator occurs before the first
// character and so drops nothing.
std::string_view dropFields(std::string_view text, std::int32_t count, std::string_view separator) {
  if (separator.empty()) return text;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::size_t at = text.find(separator);
    if (at == npos) break;
    text.remove_prefix(at + separator.size());
  }
  return text;
}

// Cuts the text at separators found while walking from its end to its start. Each cut shortens
// the text, so an occurrence that straddles an earlier cut no longer counts: with a separator
// that can overlap itself ("aa" in "aaa") the cut is not simply at the leftmost occurrence.
std::string_view cutAtSeparators(std::string_view text, std::string_view separator) {
  if (separator.empty()) return text.substr(0, 0);
  if (!overlapsItself(separator)) {
    // Occurrences are disjoint, so the leftmost one survives every later cut and is the last.
    return text.substr(0, std::min(text.find(separator), text.size()));
  }
  std::size_t length = text.size();
  for (;;) {
    const std::size_t at = text.substr(0, length).rfind(separator);
    if (at == npos) break;
    length = at;
  }
  return text.substr(0, length);
}

// Walks the text from its last character to its first; where the pattern occurs (A-Z folded) the
// occurrence is replaced and the walk goes on one position to the left in the changed text, so a
// new occurrence completed across the joint is replaced too, while the walk never returns right.
// The part right of the walk is kept reversed, which makes every change an append or a pop.
std::string rewriteBackward(std::string_view text, std::string_view pattern,
                            std::string_view replacement) {
  const std::string wanted = folded(pattern);
  const std::size_t tail = wanted.size() - 1; // characters the window reaches right of the walk
  const std::string replacementReversed(replacement.rbegin(), replacement.rend());
  std::string right;
  right.reserve(text.size());
  for (std::size_t i = text.size(); i-- > 0;) {
    const char c = text[i];
    bool occurs = foldCase(c) == wanted[0] && right.size() >= tail;
    for (std::size_t k = 1; occurs && k <= tail; ++k) {
      occurs = foldCase(right[right.size() - k]) == wanted[k];
    }
    if (occurs) {
      right.resize(right.size() - tail);
      right += replacementReversed;
    } else {
      right.push_back(c);
    }
  }
  return std::string(right.rbegin(), right.rend());
}

} // namespace

std::string VelTextHandler::Field() { return GetField(stText, Point, Seperator, CutOffToNext); }

std::string VelTextHandler::GetField(std::string text, std::int32_t index, std::string separator,
                                     bool cutOffToNext) {
  std::string_view rest = dropFields(text, index, separator);
  if (cutOffToNext) rest = cutAtSeparators(rest, separator);
  return std::string(rest);
}

std::string VelTextHandler::GetFields(std::string text, std::int32_t start, std::int32_t fieldCount,
                                      std::string separator) {
  // No caller passes an empty separator; the text comes back as it is rather than being cut up
  // character by character.
  if (separator.empty()) return text;
  const std::string_view rest = dropFields(text, start, separator);
  if (fieldCount < 0) return std::string(rest);
  if (fieldCount == 0) {
    // The cut before the first character is skipped only when a separator stands there.
    return rest.starts_with(separator) ? std::string(rest) : std::string();
  }
  // Cut before the fieldCount-th occurrence; occurrences are counted at every position, so
  // overlapping ones each count.
  std::size_t at = npos;
  std::size_t from = 0;
  for (std::int32_t found = 0; found < fieldCount; ++found) {
    at = rest.find(separator, from);
    if (at == npos) return std::string(rest);
    from = at + 1;
  }
  return std::string(rest.substr(0, at));
}

std::string VelTextHandler::Remove() { return RemoveAll(stText, Seperator); }

std::string VelTextHandler::RemoveAll(std::string text, std::string pattern) {
  // Removing an empty pattern changes nothing.
  if (pattern.empty()) return text;
  return rewriteBackward(text, pattern, {});
}

std::string VelTextHandler::ReplaceAll(std::string text, std::string pattern,
                                       std::string replacement) {
  // No caller passes an empty pattern; there is nothing to replace, so the text stays as it is.
  if (pattern.empty()) return text;
  return rewriteBackward(text, pattern, replacement);
}

std::int32_t VelTextHandler::Count() { return CountOf(stText, Seperator); }

std::int32_t VelTextHandler::CountOf(std::string text, std::string pattern) {
  // The empty pattern occurs at every position of the text.
  if (pattern.empty()) return clampCount(text.size());
  const std::string haystack = folded(text);
  const std::string needle = folded(pattern);
  std::size_t count = 0;
  for (std::size_t at = haystack.find(needle); at != npos; at = haystack.find(needle, at + 1)) {
    ++count;
  }
  return clampCount(count);
}

bool VelTextHandler::Starts() { return StartsWith(stText, Seperator); }

bool VelTextHandler::StartsWith(std::string text, std::string prefix) {
  if (prefix.size() > text.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return foldCase(a) == foldCase(b); });
}
