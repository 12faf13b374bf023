// The text operations against a literal, position-by-position model of their definitions, over
// many generated short texts: the fast forward implementations must give the very same results.
#include "text/VelTextHandler1.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace {

// --- The model: 1-based positions, the text changed in place, exactly as the rules read. ---

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool occursAt(const std::string& t, std::size_t p, const std::string& pattern, bool folded) {
  if (p < 1 || p - 1 + pattern.size() > t.size()) return false;
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    const char a = t[p - 1 + k];
    const char b = pattern[k];
    if (folded ? fold(a) != fold(b) : a != b) return false;
  }
  return true;
}

std::string modelDrop(std::string t, std::int32_t count, const std::string& sep) {
  for (std::int32_t i = 0; i < count; ++i) {
    for (std::size_t p = 1; p <= t.size(); ++p) {
      if (occursAt(t, p, sep, false)) {
        t = t.substr(p - 1 + sep.size());
        break;
      }
    }
  }
  return t;
}

std::string modelGetField(std::string t, std::int32_t index, const std::string& sep, bool cut) {
  t = modelDrop(t, index, sep);
  if (cut) {
    for (std::size_t p = t.size(); p >= 1; --p) {
      if (occursAt(t, p, sep, false)) t = t.substr(0, p - 1);
    }
  }
  return t;
}

std::string modelGetFields(std::string t, std::int32_t start, std::int32_t fieldCount,
                           const std::string& sep) {
  t = modelDrop(t, start, sep);
  std::int32_t counter = 0;
  const std::size_t walk = t.size();
  for (std::size_t p = 1; p <= walk; ++p) {
    if (occursAt(t, p, sep, false)) ++counter;
    if (counter == fieldCount && p - 1 < t.size()) t = t.substr(0, p - 1);
  }
  return t;
}

std::int32_t modelCountOf(const std::string& t, const std::string& pattern) {
  std::int32_t n = 0;
  for (std::size_t p = t.size(); p >= 1; --p) n += occursAt(t, p, pattern, true) ? 1 : 0;
  return n;
}

bool modelStartsWith(const std::string& t, const std::string& prefix) {
  return occursAt(t, 1, prefix, true);
}

std::string modelReplaceAll(std::string t, const std::string& pattern, const std::string& with) {
  for (std::size_t p = t.size(); p >= 1; --p) {
    if (occursAt(t, p, pattern, true)) {
      t = t.substr(0, p - 1) + with + t.substr(p - 1 + pattern.size());
    }
  }
  return t;
}

// --- Generated cases ---

class Generator {
public:
  explicit Generator(std::uint32_t seed) : rng_(seed) {}

  // Letters in both cases, separators, brackets and two Latin-1 letters that differ by 0x20.
  std::string text(std::size_t maxLength) {
    static const std::string alphabet = "aAb,<>\xC4\xE4";
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string out(length(rng_), ' ');
    for (char& c : out) c = alphabet[pick(rng_)];
    return out;
  }
  std::int32_t between(std::int32_t lo, std::int32_t hi) {
    return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng_);
  }

private:
  std::mt19937 rng_;
};

constexpr int Rounds = 40000;

TEST(TextAgainstModel, GetFieldAndGetFields) {
  Generator gen(12345u);
  VelTextHandler nth;
  for (int i = 0; i < Rounds; ++i) {
    const std::string text = gen.text(10);
    const std::string sep = gen.text(3);
    const std::int32_t index = gen.between(-2, 5);
    const bool cut = gen.between(0, 1) == 1;
    SCOPED_TRACE("text '" + text + "' sep '" + sep + "' index " + std::to_string(index));
    ASSERT_EQ(nth.GetField(text, index, sep, cut), modelGetField(text, index, sep, cut))
        << "cut " << cut;
    if (sep.empty()) continue; // no caller passes one; covered by the case table
    const std::int32_t count = gen.between(-2, 5);
    ASSERT_EQ(nth.GetFields(text, index, count, sep), modelGetFields(text, index, count, sep))
        << "count " << count;
  }
}

TEST(TextAgainstModel, CountAndPrefix) {
  Generator gen(7u);
  VelTextHandler nth;
  for (int i = 0; i < Rounds; ++i) {
    const std::string text = gen.text(10);
    const std::string pattern = gen.text(3);
    SCOPED_TRACE("text '" + text + "' pattern '" + pattern + "'");
    ASSERT_EQ(nth.CountOf(text, pattern), modelCountOf(text, pattern));
    ASSERT_EQ(nth.StartsWith(text, pattern), modelStartsWith(text, pattern));
    const std::string head = text.substr(0, static_cast<std::size_t>(gen.between(0, 4)));
    ASSERT_EQ(nth.StartsWith(text, head), modelStartsWith(text, head)) << "head '" << head << "'";
  }
}

TEST(TextAgainstModel, RemoveAllAndReplaceAll) {
  Generator gen(99u);
  VelTextHandler nth;
  for (int i = 0; i < Rounds; ++i) {
    const std::string text = gen.text(12);
    const std::string pattern = gen.text(3);
    const std::string replacement = gen.text(3);
    SCOPED_TRACE("text '" + text + "' pattern '" + pattern + "' replacement '" + replacement + "'");
    ASSERT_EQ(nth.RemoveAll(text, pattern), modelReplaceAll(text, pattern, ""));
    if (pattern.empty()) continue; // no caller passes one; covered by the case table
    ASSERT_EQ(nth.ReplaceAll(text, pattern, replacement),
              modelReplaceAll(text, pattern, replacement));
  }
}

// Texts made mostly of a single letter in both cases, with patterns of that letter: the densest
// overlaps and joins, which random texts reach only rarely.
TEST(TextAgainstModel, DenseOverlaps) {
  VelTextHandler nth;
  const std::string letters[] = {"a", "A"};
  for (std::size_t length = 0; length <= 9; ++length) {
    for (std::uint32_t bits = 0; bits < (1u << length); ++bits) {
      std::string text;
      for (std::size_t k = 0; k < length; ++k) text += letters[(bits >> k) & 1u];
      for (const std::string pattern : {"a", "aa", "aA", "aaa", "Aa"}) {
        SCOPED_TRACE("text '" + text + "' pattern '" + pattern + "'");
        ASSERT_EQ(nth.GetField(text, 0, pattern, true), modelGetField(text, 0, pattern, true));
        ASSERT_EQ(nth.GetField(text, 2, pattern, true), modelGetField(text, 2, pattern, true));
        ASSERT_EQ(nth.GetFields(text, 1, 2, pattern), modelGetFields(text, 1, 2, pattern));
        ASSERT_EQ(nth.CountOf(text, pattern), modelCountOf(text, pattern));
        ASSERT_EQ(nth.RemoveAll(text, pattern), modelReplaceAll(text, pattern, ""));
        ASSERT_EQ(nth.ReplaceAll(text, pattern, "a"), modelReplaceAll(text, pattern, "a"));
        ASSERT_EQ(nth.ReplaceAll(text, pattern, "Ab"), modelReplaceAll(text, pattern, "Ab"));
      }
    }
  }
}

} // namespace
