// The text rules of setup.ini: lines, the header line, statements, and the joined command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/JoinedCommandLine.h"
#include "script/ScriptText.h"
#include "text/VelTextHandler1.h"

namespace {

using Lines = std::vector<std::string>;

struct LinesCase {
  const char* name;
  std::string bytes;
  Lines expected;
};

TEST(TextLines, FollowTheLineRulesOfTheScript) {
  const LinesCase cases[] = {
      {"empty text is one empty line", "", {""}},
      {"LF", "a\nb", {"a", "b"}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"final line end adds no line", "a\n", {"a"}},
      {"blank lines kept", "a\n\nb\n\n", {"a", "", "b", ""}},
      {"only a line end", "\n", {""}},
      {"lone CR dropped, line goes on", "ab\rcd\nx", {"abcd", "x"}},
      {"CR CR LF", "a\r\r\nb", {"a", "b"}},
      {"Ctrl-Z ends the text", "a\nb\x1A\nc\n", {"a", "b"}},
      {"Ctrl-Z at once", "\x1A[Quillfern Installer v1.10]", {""}},
      {"blanks kept", "  a = b  \n", {"  a = b  "}},
      {"byte-order mark kept", "\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
  };
  for (const LinesCase& c : cases) EXPECT_EQ(script::TextLines(c.bytes), c.expected) << c.name;
}

TEST(ScriptHeader, OnlyTheTwoExactLines) {
  EXPECT_TRUE(script::IsScriptHeader("[Quillfern Installer v1.00]"));
  EXPECT_TRUE(script::IsScriptHeader("[Quillfern Installer v1.10]"));
  for (const char* line :
       {"", "[quillfern installer v1.10]", "[Quillfern Installer v1.20]",
        " [Quillfern Installer v1.10]", "[Quillfern Installer v1.10] ",
        "\xEF\xBB\xBF[Quillfern Installer v1.10]", "[Quillfern Installer v1.10]x"})
    EXPECT_FALSE(script::IsScriptHeader(line)) << line;
}

struct StatementCase {
  const char* line;
  const char* key;
  const char* value;
};

TEST(Statement, SplitsAtTheFirstEqualsSignWithoutTrimming) {
  const StatementCase cases[] = {
      {"ProgName=Tool", "progname", "Tool"},
      {"progname = Tool", "progname ", " Tool"},
      {"file=a=b.txt", "file", "a=b.txt"},
      {"[Extras]", "[extras]", "[Extras]"},
      {"KEY=HKLM,Software\\A", "key", "HKLM,Software\\A"},
      {"version=", "version", ""},
      {"=value", "", "value"},
      {"", "", ""},
      {"\xC4PP=x", "\xC4pp", "x"}, // only A to Z are folded
  };
  VelTextHandler handler;
  for (const StatementCase& c : cases) {
    const script::Statement statement = script::SplitStatement(handler, c.line);
    EXPECT_EQ(statement.key, c.key) << c.line;
    EXPECT_EQ(statement.value, c.value) << c.line;
  }
}

struct TailCase {
  const char* raw;
  const char* tail;
};

TEST(CommandLine, TailIsTheTextAfterTheProgramName) {
  const TailCase cases[] = {
      {"setup.exe", ""},
      {"setup.exe   ", ""},
      {"c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1,C:\\Program  Files\\A",
       "/uninstall: 1,C:\\Program  Files\\A"},
      {"\"C:\\My Setup\\setup.exe\" /uninstall: 0,C:\\A", "/uninstall: 0,C:\\A"},
      {"\"C:\\My Setup\"\\setup.exe\t /x", "/x"},
      {"\"C:\\unclosed quote /x", ""},
  };
  for (const TailCase& c : cases) EXPECT_EQ(script::CommandTail(c.raw), c.tail) << c.raw;
}

struct JoinCase {
  const char* name;
  platform::CommandLine line;
  const char* joined;
};

TEST(CommandLine, JoinedAsStartUpReadsIt) {
  const JoinCase cases[] = {
      {"no arguments", {{}, std::nullopt}, ""},
      {"arguments only",
       {{"/uninstall:", "1,C:\\Apps\\Tool"}, std::nullopt},
       "/uninstall: 1,C:\\Apps\\Tool "},
      {"no raw text: a run of blanks is lost",
       {{"/uninstall:", "1,C:\\Program", "Files\\A"}, std::nullopt},
       "/uninstall: 1,C:\\Program Files\\A "},
      {"raw text keeps a run of blanks",
       {{"/uninstall:", "1,C:\\Program", "Files\\A"},
        std::string("c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1,C:\\Program  "
                    "Files\\A")},
       "/uninstall: 1,C:\\Program  Files\\A "},
      {"raw text with quotes: the arguments",
       {{"/uninstall:", "1,C:\\A B"}, std::string("setup.exe /uninstall: \"1,C:\\A B\"")},
       "/uninstall: 1,C:\\A B "},
      {"trailing blanks of the raw text dropped",
       {{"/uninstall:", "1,C:\\A"}, std::string("setup.exe /uninstall: 1,C:\\A   ")},
       "/uninstall: 1,C:\\A "},
      {"raw text without arguments", {{}, std::string("\"C:\\x y\\setup.exe\"")}, ""},
  };
  for (const JoinCase& c : cases) EXPECT_EQ(script::JoinedCommandLine(c.line), c.joined) << c.name;
}

} // namespace
