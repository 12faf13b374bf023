// The command line of the POSIX build: main's arguments, kept by the program entry.
#include "platform/CommandLine.h"

namespace platform {

namespace {
CommandLine& stored() {
  static CommandLine line;
  return line;
}
std::optional<CommandLine>& replaced() {
  static std::optional<CommandLine> line;
  return line;
}
} // namespace

CommandLine commandLine() { return replaced() ? *replaced() : stored(); }

void storeMainArguments(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) line.arguments.emplace_back(argv[i]);
  stored() = std::move(line);
}

void overrideCommandLine(std::optional<CommandLine> replacement) {
  replaced() = std::move(replacement);
}

} // namespace platform
