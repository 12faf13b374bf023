// The program's command line: its arguments as the platform splits them and, where the system
// keeps one, the raw text they were split from.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct CommandLine {
  // The arguments after the program's own name: on Windows split the system's way (at blanks and
  // tabs outside quotes, quotes removed), on POSIX exactly as given to main.
  std::vector<std::string> arguments;
  // The whole command line as the system holds it, program name first (Windows); nothing on
  // POSIX, where only main's arguments exist.
  std::optional<std::string> raw;
};

CommandLine commandLine();

// Keeps main's arguments for the POSIX build; the Windows build asks the system instead, so
// there this does nothing.
void storeMainArguments(int argc, const char* const* argv);

// Replaces what commandLine() reports on either build (tests, runners); nothing restores the
// system's own.
void overrideCommandLine(std::optional<CommandLine> replacement);

} // namespace platform
