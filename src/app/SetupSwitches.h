// The switches of setup.exe that come before the script's own arguments:
//   /S [/LOG=file] [/TYPE=full|minimal|custom] [/COMPONENTS=caption,caption] [/GROUP=name]
//   [/NODESKTOP] [/RUN] [/D=folder]
// /D= comes last and takes the rest of the command line, blanks included.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

namespace app {

enum class InstallType { Full, Minimal, Custom };

struct SetupSwitches {
  bool silent{false};                                 // /S
  std::optional<std::string> log;                     // /LOG=
  std::optional<InstallType> type;                    // /TYPE=
  std::optional<std::vector<std::string>> components; // /COMPONENTS= (implies Custom)
  std::optional<std::string> group;                   // /GROUP=
  bool noDesktop{false};                              // /NODESKTOP
  bool run{false};                                    // /RUN
  std::optional<std::string> folder;                  // /D=
  // The command line without the switches: what start-up reads as the program's arguments.
  platform::CommandLine rest;
  // Why the switches cannot be used; empty when they can.
  std::string error;
};

// Reads the switches at the start of the command line. The first argument that is not shaped
// like a switch ("/" and letters, alone or followed by "=") ends them, so "/uninstall: ..." is
// the script's own. Switch names are compared without regard to the case of A-Z. A switch shaped
// argument that is unknown, a value that is not allowed, and the installation switches without
// /S are errors.
SetupSwitches ParseSetupSwitches(const platform::CommandLine& line);

} // namespace app
