// The Windows build's command line: the runtime's arguments and the system's raw text agree.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"
#include "script/JoinedCommandLine.h"

namespace {

TEST(CommandLineWindows, RawTextAndArgumentsDescribeTheSameCall) {
  platform::overrideCommandLine(std::nullopt);
  const platform::CommandLine line = platform::commandLine();
  ASSERT_TRUE(line.raw.has_value());
  EXPECT_FALSE(line.raw->empty());
  // Whatever the test was started with, joining by either way reads the same (no run of blanks
  // inside an argument is involved here).
  EXPECT_EQ(script::JoinedCommandLine(line), script::JoinArguments(line.arguments));
}

TEST(CommandLineWindows, AnOverrideReplacesTheSystemsAnswer) {
  platform::overrideCommandLine(platform::CommandLine{
      {"/uninstall:", "1,C:\\A"}, std::string("setup.exe /uninstall: 1,C:\\A")});
  EXPECT_EQ(platform::commandLine().arguments.size(), 2u);
  platform::overrideCommandLine(std::nullopt);
  EXPECT_TRUE(platform::commandLine().raw.has_value());
}

} // namespace
