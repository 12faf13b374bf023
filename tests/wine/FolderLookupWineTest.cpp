// The folder lookup against a real Windows system: every name the installer uses comes back as
// an existing folder, lower case and ending in a backslash.
#include "platform/Files.h"
#include "platform/System.h"
#include "text/VelTextHandler1.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lowerAZ(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

TEST(SpecialFolderOnWindows, NamesTheInstallerUsesAreExistingFolders) {
  VelTextHandler nth;
  for (const char* name :
       {"windows", "system32", "programfiles", "temp", "alldesktop", "allprograms", "allstartup"}) {
    const std::string folder = nth.SpecialFolder(name);
    SCOPED_TRACE(std::string(name) + " -> '" + folder + "'");
    ASSERT_GE(folder.size(), 4u);
    EXPECT_EQ(folder, lowerAZ(folder));
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(platform::directoryExists(folder));
    // The installer joins "\name" to a folder; the doubled backslash must still lead there.
    EXPECT_TRUE(platform::directoryExists(folder + "\\"));
  }
}

// The answers agree with the system's own calls where the lookup has a direct source.
TEST(SpecialFolderOnWindows, AgreesWithTheSystem) {
  VelTextHandler nth;
  const std::string windows = nth.SpecialFolder("windows");
  EXPECT_EQ(windows, lowerAZ(platform::windowsDirectory().path) + "\\");
  EXPECT_EQ(nth.SpecialFolder("system32"),
            lowerAZ(platform::shellFolder(platform::csidl::System)) + "\\");
  EXPECT_EQ(nth.SpecialFolder("allstartup"),
            lowerAZ(platform::shellFolder(platform::csidl::CommonStartup)) + "\\");
  EXPECT_EQ(nth.SpecialFolder("ALLPROGRAMS"), nth.SpecialFolder("allprograms"));
  EXPECT_EQ(nth.SpecialFolder("fonts"), "c:\\");
}

} // namespace
