// The command line of the Windows build: the runtime's ANSI arguments and the system's raw text.
#include "platform/CommandLine.h"

#include <windows.h>

#include <cstdlib>

namespace platform {

namespace {
std::optional<CommandLine>& replaced() {
  static std::optional<CommandLine> line;
  return line;
}
} // namespace

CommandLine commandLine() {
  if (replaced()) return *replaced();
  CommandLine line;
  // The C runtime splits GetCommandLineA() by the system's rules before main runs.
  for (int i = 1; i < __argc; ++i) line.arguments.emplace_back(__argv[i]);
  line.raw = GetCommandLineA();
  return line;
}

void storeMainArguments(int, const char* const*) {}

void overrideCommandLine(std::optional<CommandLine> replacement) {
  replaced() = std::move(replacement);
}

} // namespace platform
