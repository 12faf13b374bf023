// setup.exe's own switches: what each sets, /D= taking the rest of the line, the script's
// arguments after the switches, and the switches that are refused.
#include "app/SetupSwitches.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using app::InstallType;
using app::ParseSetupSwitches;
using app::SetupSwitches;
using Strings = std::vector<std::string>;

platform::CommandLine arguments(Strings list) { return platform::CommandLine{std::move(list), {}}; }

// A Windows command line: the raw text and the runtime's split of it (given by the case).
platform::CommandLine raw(const std::string& text, Strings split) {
  return platform::CommandLine{std::move(split), text};
}

TEST(SetupSwitches, EachSwitchSetsItsChoice) {
  const SetupSwitches s = ParseSetupSwitches(arguments(
      {"/S", "/LOG=c:\\setup.log", "/type=Minimal", "/GROUP=Tools", "/NODESKTOP", "/run"}));
  EXPECT_EQ(s.error, "");
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.log, "c:\\setup.log");
  EXPECT_EQ(s.type, InstallType::Minimal);
  EXPECT_EQ(s.group, "Tools");
  EXPECT_TRUE(s.noDesktop);
  EXPECT_TRUE(s.run);
  EXPECT_FALSE(s.folder.has_value());
  EXPECT_FALSE(s.components.has_value());
  EXPECT_TRUE(s.rest.arguments.empty());

  const SetupSwitches c = ParseSetupSwitches(arguments({"/S", "/COMPONENTS=Docs,Extra Files,"}));
  EXPECT_EQ(c.error, "");
  EXPECT_EQ(c.components, (Strings{"Docs", "Extra Files", ""}));
  const SetupSwitches none = ParseSetupSwitches(arguments({"/S", "/COMPONENTS="}));
  EXPECT_EQ(none.components, Strings{});
}

TEST(SetupSwitches, TheFolderTakesTheRestOfTheLine) {
  struct Case {
    const char* name;
    platform::CommandLine line;
    std::string folder;
  };
  const Case cases[] = {
      {"one argument with blanks", arguments({"/S", "/D=C:\\Program Files\\My  App"}),
       "C:\\Program Files\\My  App"},
      {"split arguments", arguments({"/S", "/D=C:\\My", "App", "/RUN"}), "C:\\My App /RUN"},
      {"raw text keeps every blank",
       raw("\"C:\\src\\setup.exe\" /S /D=C:\\Program Files\\My  App  ",
           {"/S", "/D=C:\\Program", "Files\\My", "App"}),
       "C:\\Program Files\\My  App"},
      {"raw text with a quoted switch",
       raw("setup.exe /S \"/D=C:\\Program Files\\App\"", {"/S", "/D=C:\\Program Files\\App"}),
       "C:\\Program Files\\App"},
      {"a share", arguments({"/S", "/D=\\\\server\\apps\\x"}), "\\\\server\\apps\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SetupSwitches s = ParseSetupSwitches(c.line);
    EXPECT_EQ(s.error, "");
    EXPECT_EQ(s.folder, c.folder);
    EXPECT_TRUE(s.rest.arguments.empty());
  }
}

TEST(SetupSwitches, TheScriptsOwnArgumentsFollowTheSwitches) {
  const SetupSwitches posix =
      ParseSetupSwitches(arguments({"/S", "/LOG=x.log", "/uninstall:", "1,C:\\Apps\\Tool"}));
  EXPECT_EQ(posix.error, "");
  EXPECT_EQ(posix.rest.arguments, (Strings{"/uninstall:", "1,C:\\Apps\\Tool"}));
  EXPECT_FALSE(posix.rest.raw.has_value());

  const SetupSwitches windows = ParseSetupSwitches(
      raw("\"C:\\Win\\$qfUninstallV1$\\setup.exe\" /S /uninstall: 1,C:\\My  Apps\\Tool",
          {"/S", "/uninstall:", "1,C:\\My", "Apps\\Tool"}));
  EXPECT_EQ(windows.error, "");
  EXPECT_TRUE(windows.silent);
  EXPECT_EQ(windows.rest.raw,
            "\"C:\\Win\\$qfUninstallV1$\\setup.exe\" /uninstall: 1,C:\\My  Apps\\Tool");
  EXPECT_EQ(windows.rest.arguments, (Strings{"/uninstall:", "1,C:\\My", "Apps\\Tool"}));

  // Without switches the command line is handed on as it came.
  const SetupSwitches plain = ParseSetupSwitches(raw("setup.exe", {}));
  EXPECT_FALSE(plain.silent);
  EXPECT_EQ(plain.rest.raw, "setup.exe");
  EXPECT_TRUE(plain.rest.arguments.empty());
}

TEST(SetupSwitches, BadSwitchesAreRefused) {
  const Strings refused[] = {
      {"/S", "/TYPE=typical"},
      {"/S", "/FOO"},
      {"/S", "/RUN=yes"},
      {"/S", "/LOG="},
      {"/S", "/D="},
      {"/S", "/D=relative\\folder"},
      {"/S", "/D=C:folder"},
      {"/S", "/TYPE=full", "/COMPONENTS=Docs"},
      {"/S", "/COMPONENTS=Docs", "/TYPE=minimal"},
      // The installation switches mean nothing in the wizard.
      {"/D=C:\\App"},
      {"/TYPE=full"},
      {"/RUN"},
  };
  for (const Strings& line : refused) {
    SCOPED_TRACE(line.back());
    EXPECT_NE(ParseSetupSwitches(arguments(line)).error, "");
  }
  // The log works in both modes; /TYPE=custom goes with /COMPONENTS=.
  EXPECT_EQ(ParseSetupSwitches(arguments({"/LOG=c:\\x.log"})).error, "");
  EXPECT_EQ(ParseSetupSwitches(arguments({"/S", "/TYPE=custom", "/COMPONENTS=A"})).error, "");
}

} // namespace
