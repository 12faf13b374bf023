// Cases of the text operations that the rest of the installer relies on: fields of records and
// paths, counting, prefixes, removal and replacement with their joins and case folding.
#include "text/VelTextHandler1.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

const std::string LF = "\n";

struct GetFieldCase {
  std::string text;
  std::int32_t index;
  std::string separator;
  bool cut;
  std::string expected;
};

TEST(TextGetField, FieldsOfRecords) {
  const GetFieldCase cases[] = {
      {"a,b,c", 0, ",", true, "a"},
      {"a,b,c", 1, ",", true, "b"},
      {"a,b,c", 2, ",", true, "c"},
      // Past the last separator: the last field, never an empty string for that alone.
      {"a,b,c", 3, ",", true, "c"},
      {"a,b,c", 5, ",", true, "c"},
      {"a,b,c", INT32_MAX, ",", true, "c"},
      {"a,b,c", -1, ",", true, "a"},
      {"a,b,c", INT32_MIN, ",", false, "a,b,c"},
      {"a,b,c", 1, ",", false, "b,c"},
      {"a,b,c", 0, ",", false, "a,b,c"},
      {"abc", 1, ",", true, "abc"},
      {"", 0, ",", true, ""},
      {"", 3, ",", false, ""},
      {"a,,c", 1, ",", true, ""},
      {"a,b,", 2, ",", true, ""},
      {"a,b,", 3, ",", true, ""},
      {",a", 0, ",", true, ""},
      {"key=va=l", 0, "=", true, "key"},
      {"key=va=l", 1, "=", false, "va=l"},
      {"left|right", 1, "|", true, "right"},
      // Exact comparison: the lower-case x is the only separator.
      {"aXbxc", 1, "x", true, "c"},
      {"aXbxc", 0, "X", true, "a"},
      {"a\xC4"
       "b\xE4"
       "c",
       1, "\xE4", true, "c"},
      {"a, b, c", 1, ", ", true, "b"},
      {"a, b, c", 2, ", ", false, "c"},
      // The file name after the last backslash (index = number of backslashes).
      {"C:\\A\\B\\x.exe", 3, "\\", false, "x.exe"},
      // Empty separator: nothing is dropped; cutting leaves nothing.
      {"abc", 2, "", false, "abc"},
      {"abc", 0, "", true, ""},
      {"", 1, "", true, ""},
      // A separator that overlaps itself: walking back from the end, the cut at position 2
      // shortens the text so that the occurrence at position 1 no longer fits.
      {"aaa", 0, "aa", true, "a"},
      {"aaaa", 0, "aa", true, ""},
      {"xaaay", 0, "aa", true, "xa"},
      {"ababa", 0, "aba", true, "ab"},
      // Dropping walks forward past each whole separator.
      {"aaaaa", 1, "aa", false, "aaa"},
      {"aaaaa", 2, "aa", false, "a"},
      {"aaaaa", 3, "aa", false, "a"},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' index " + std::to_string(c.index) + " sep '" + c.separator +
                 "' cut " + std::to_string(c.cut));
    EXPECT_EQ(nth.GetField(c.text, c.index, c.separator, c.cut), c.expected);
  }
}

struct GetFieldsCase {
  std::string text;
  std::int32_t start;
  std::int32_t count;
  std::string separator;
  std::string expected;
};

TEST(TextGetFields, RunsOfFields) {
  const GetFieldsCase cases[] = {
      {"a,b,c,d", 1, 2, ",", "b,c"},
      {"a,b,c,d", 0, 1, ",", "a"},
      {"a,b,c,d", 2, 5, ",", "c,d"},
      {"a,b", 0, 5, ",", "a,b"},
      {"a,b", 0, INT32_MAX, ",", "a,b"},
      {"a,b,c,d", 0, 0, ",", ""},
      {",a,b", 0, 0, ",", ",a,b"},
      {",a,b", 0, 1, ",", ""},
      {"a,b,c,d", 0, -1, ",", "a,b,c,d"},
      {"a,b,c,d", 2, -7, ",", "c,d"},
      {"a,b,c,d", -3, 2, ",", "a,b"},
      {"a,b,c", 9, 1, ",", "c"},
      {"", 0, 0, ",", ""},
      {"", 0, 2, ",", ""},
      // The leading components of a path: FieldCount = backslashes - 1.
      {"C:\\A\\B\\x.exe", 0, 2, "\\", "C:\\A"},
      {"C:\\Documents and Settings\\User\\Desktop", 0, 3, "\\", "C:\\Documents and Settings\\User"},
      {"C:\\x.exe", 0, 0, "\\", ""},
      {"\\\\server\\share", 0, 0, "\\", "\\\\server\\share"},
      // Exact comparison.
      {"aXbxc", 0, 1, "x", "aXb"},
      // Overlapping occurrences each count.
      {"aaaa", 0, 2, "aa", "a"},
      {"aaaa", 0, 3, "aa", "aa"},
      {"aaaa", 0, 4, "aa", "aaaa"},
      // No caller passes an empty separator; the text is returned as it is.
      {"abc", 0, 2, "", "abc"},
      {"abc", 1, 0, "", "abc"},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' start " + std::to_string(c.start) + " count " +
                 std::to_string(c.count) + " sep '" + c.separator + "'");
    EXPECT_EQ(nth.GetFields(c.text, c.start, c.count, c.separator), c.expected);
  }
}

struct CountCase {
  std::string text;
  std::string pattern;
  std::int32_t expected;
};

TEST(TextCountOf, OverlappingAndFoldedOccurrences) {
  const CountCase cases[] = {
      {"aaa", "aa", 2},
      {"ABab", "ab", 2},
      {"ABab", "AB", 2},
      {"C:\\A\\B\\x.exe", "\\", 3},
      {"", "a", 0},
      {"", "", 0},
      {"abc", "", 3},
      {"ab", "abc", 0},
      // Only A-Z fold: the Latin-1 pair A-umlaut/a-umlaut stays distinct.
      {"\xC4\xE4\xC4", "\xE4", 1},
      {"\xC4\xE4\xC4", "\xC4", 2},
      {"[{@`", "{", 1},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' pattern '" + c.pattern + "'");
    EXPECT_EQ(nth.CountOf(c.text, c.pattern), c.expected);
  }
}

struct StartsCase {
  std::string text;
  std::string prefix;
  bool expected;
};

TEST(TextStartsWith, FoldedPrefix) {
  const StartsCase cases[] = {
      {"Setup.INI", "setup", true},
      {"setup.ini", "SETUP.INI", true},
      {"ab", "abc", false},
      {"anything", "", true},
      {"", "", true},
      {"", "a", false},
      {"\xC4rger", "\xE4", false},
      {"\xC4rger", "\xC4R", true},
      {"@b", "`B", false},
      {"x[y", "X{", false},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' prefix '" + c.prefix + "'");
    EXPECT_EQ(nth.StartsWith(c.text, c.prefix), c.expected);
  }
}

struct RewriteCase {
  std::string text;
  std::string pattern;
  std::string replacement;
  std::string expected;
};

TEST(TextRemoveAll, RemovesEveryOccurrenceIncludingJoins) {
  const RewriteCase cases[] = {
      {"a<BR>b<br>", "<br>", "", "ab"},
      // The removal at position 2 joins a new occurrence that position 1 then removes.
      {"aabb", "ab", "", ""},
      {"aaabbb", "ab", "", ""},
      {"AaBb", "ab", "", ""},
      // A join that would only be complete to the right of the scan is left alone.
      {"abb", "bb", "", "a"},
      {"bbb", "bb", "", "b"},
      {"abab", "ba", "", "ab"},
      {"text", "", "", "text"},
      {"", "x", "", ""},
      {"\xC4\xE4", "\xE4", "", "\xC4"},
      {"a\xC4", "A\xE4", "", "a\xC4"},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' pattern '" + c.pattern + "'");
    EXPECT_EQ(nth.RemoveAll(c.text, c.pattern), c.expected);
  }
}

TEST(TextReplaceAll, ReplacesEveryOccurrenceIncludingJoins) {
  const RewriteCase cases[] = {
      {"a<BR>b", "<br>", LF, "a\nb"},
      {"line<br>one<Br>two", "<br>", LF, "line\none\ntwo"},
      {"aab", "ab", "b", "b"},
      {"aaab", "ab", "b", "b"},
      {"aXa", "a", "aa", "aaXaa"},
      {"a", "a", "a", "a"},
      {"ab", "b", "", "a"},
      // The replacement itself completes an occurrence one position to the left.
      {"aab", "ab", "bb", "bbb"},
      {"abc", "", "-", "abc"},
      {"", "a", "b", ""},
      {"\xC4\xE4", "\xC4", "A", "A\xE4"},
  };
  VelTextHandler nth;
  for (const auto& c : cases) {
    SCOPED_TRACE("text '" + c.text + "' pattern '" + c.pattern + "' replacement '" + c.replacement +
                 "'");
    EXPECT_EQ(nth.ReplaceAll(c.text, c.pattern, c.replacement), c.expected);
  }
}

TEST(TextProperties, UseTheFourProperties) {
  VelTextHandler nth;
  EXPECT_EQ(nth.stText, "");
  EXPECT_EQ(nth.Point, 0);
  EXPECT_EQ(nth.Seperator, "");
  EXPECT_FALSE(nth.CutOffToNext);

  nth.stText = "one,Two,two";
  nth.Seperator = ",";
  nth.Point = 1;
  EXPECT_EQ(nth.Field(), "Two,two");
  nth.CutOffToNext = true;
  EXPECT_EQ(nth.Field(), "Two");
  EXPECT_EQ(nth.Count(), 2);
  EXPECT_EQ(nth.Remove(), "oneTwotwo");
  EXPECT_FALSE(nth.Starts());
  nth.Seperator = "ONE";
  EXPECT_TRUE(nth.Starts());
  nth.Seperator = "two";
  EXPECT_EQ(nth.Count(), 2);
  EXPECT_EQ(nth.Remove(), "one,,");
  // The operations leave the properties as they were.
  EXPECT_EQ(nth.stText, "one,Two,two");
  EXPECT_EQ(nth.Point, 1);
  EXPECT_TRUE(nth.CutOffToNext);
}

// A derived handler may override the operations; the property-driven forms call through.
TEST(TextProperties, CallThroughOverrides) {
  struct Fixed : VelTextHandler {
    std::string GetField(std::string, std::int32_t, std::string, bool) override { return "F"; }
    std::int32_t CountOf(std::string, std::string) override { return 42; }
  } handler;
  EXPECT_EQ(handler.Field(), "F");
  EXPECT_EQ(handler.Count(), 42);
}

TEST(TextReplaceAll, WholePage) {
  // A long fetched page: every break, in either case, becomes a line feed and nothing else
  // changes.
  std::string page;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    page += "line" + std::to_string(i) + (i % 2 ? "<BR>" : "<br>");
    expected += "line" + std::to_string(i) + "\n";
  }
  VelTextHandler nth;
  EXPECT_EQ(nth.ReplaceAll(page, "<br>", LF), expected);
  EXPECT_EQ(nth.CountOf(page, "<Br>"), 100000);
  EXPECT_EQ(nth.RemoveAll(page, "<br>").size(), page.size() - 4 * 100000);
}

} // namespace
