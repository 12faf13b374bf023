// Joining the command line for start-up, keeping the blanks of the installation folder.
#include "script/JoinedCommandLine.h"

namespace script {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += argument + " ";
  return joined;
}

std::size_t ProgramNameEnd(const std::string& raw) {
  std::size_t at = 0;
  bool quoted = false;
  for (; at < raw.size(); ++at) {
    if (raw[at] == '"')
      quoted = !quoted;
    else if (!quoted && isBlank(raw[at]))
      break;
  }
  return at;
}

std::string CommandTail(const std::string& raw) {
  std::size_t at = ProgramNameEnd(raw);
  while (at < raw.size() && isBlank(raw[at])) ++at;
  return raw.substr(at);
}

std::string JoinedCommandLine(const platform::CommandLine& line) {
  if (!line.raw) return JoinArguments(line.arguments);
  std::string tail = CommandTail(*line.raw);
  // Quotes make the system's split more than a cut at blanks; then only the arguments are safe.
  if (tail.find('"') != std::string::npos) return JoinArguments(line.arguments);
  // Trailing blanks belong to no argument (and no Windows folder name ends in one).
  while (!tail.empty() && isBlank(tail.back())) tail.pop_back();
  if (tail.empty()) return JoinArguments(line.arguments);
  return tail + " ";
}

} // namespace script
