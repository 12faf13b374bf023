// Reading setup.exe's own switches off the front of its command line.
#include "app/SetupSwitches.h"

#include "script/JoinedCommandLine.h"

#include <cstddef>

namespace app {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAZ(std::string text) {
  for (char& c : text) c = upper(c);
  return text;
}

// One argument: its text (quotes removed) and where it begins in the raw command line.
struct Token {
  std::string text;
  std::size_t start{0};
};

// Splits the raw text after the program's name at blanks outside quotes; quotes are removed.
// Only the switches are read from these tokens, and they hold no backslash before a quote.
std::vector<Token> rawTokens(const std::string& raw, std::size_t& nameEnd) {
  std::size_t at = script::ProgramNameEnd(raw);
  nameEnd = at;
  std::vector<Token> tokens;
  while (at < raw.size()) {
    while (at < raw.size() && isBlank(raw[at])) ++at;
    if (at == raw.size()) break;
    Token token{std::string(), at};
    bool quoted = false;
    for (; at < raw.size() && (quoted || !isBlank(raw[at])); ++at) {
      if (raw[at] == '"')
        quoted = !quoted;
      else
        token.text += raw[at];
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

// "/" and one or more letters, alone or followed by "=" and a value.
bool switchShaped(const std::string& text, std::string& name, std::optional<std::string>& value) {
  if (text.size() < 2 || text[0] != '/') return false;
  std::size_t end = 1;
  while (end < text.size() && isLetter(text[end])) ++end;
  if (end == 1) return false;
  if (end < text.size() && text[end] != '=') return false;
  name = upperAZ(text.substr(1, end - 1));
  value.reset();
  if (end < text.size()) value = text.substr(end + 1);
  return true;
}

std::vector<std::string> splitCaptions(const std::string& value) {
  std::vector<std::string> captions;
  if (value.empty()) return captions;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    captions.push_back(value.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return captions;
    start = comma + 1;
  }
}

// A folder the installation can be made in whatever the current folder is: "X:\..." or
// "\\server\share...".
bool fullPath(const std::string& folder) {
  if (folder.size() >= 3 && isLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\')
    return true;
  return folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\';
}

} // namespace

SetupSwitches ParseSetupSwitches(const platform::CommandLine& line) {
  SetupSwitches switches;
  std::vector<Token> tokens;
  std::size_t nameEnd = 0;
  if (line.raw) {
    tokens = rawTokens(*line.raw, nameEnd);
  } else {
    for (const std::string& argument : line.arguments) tokens.push_back(Token{argument, 0});
  }

  auto fail = [&switches](const std::string& why) {
    if (switches.error.empty()) switches.error = why;
  };

  std::size_t i = 0;
  for (; i < tokens.size(); ++i) {
    std::string name;
    std::optional<std::string> value;
    if (!switchShaped(tokens[i].text, name, value)) break;
    const std::string& argument = tokens[i].text;
    if (name == "S" && !value) {
      switches.silent = true;
    } else if (name == "LOG" && value) {
      if (value->empty()) fail("The switch /LOG= needs a file name.");
      switches.log = *value;
    } else if (name == "TYPE" && value) {
      const std::string type = upperAZ(*value);
      if (type == "FULL")
        switches.type = InstallType::Full;
      else if (type == "MINIMAL")
        switches.type = InstallType::Minimal;
      else if (type == "CUSTOM")
        switches.type = InstallType::Custom;
      else
        fail("Unknown installation type in " + argument + " (full, minimal or custom).");
    } else if (name == "COMPONENTS" && value) {
      switches.components = splitCaptions(*value);
    } else if (name == "GROUP" && value) {
      switches.group = *value;
    } else if (name == "NODESKTOP" && !value) {
      switches.noDesktop = true;
    } else if (name == "RUN" && !value) {
      switches.run = true;
    } else if (name == "D" && value) {
      // The rest of the line, blanks included. No folder name holds a quote, and none ends in a
      // blank, so quotes and trailing blanks belong to the command line, not to the folder.
      std::string folder;
      if (line.raw) {
        for (char c : line.raw->substr(tokens[i].start))
          if (c != '"') folder += c;
        folder = folder.substr(3);
      } else {
        folder = *value;
        for (std::size_t j = i + 1; j < tokens.size(); ++j) folder += " " + tokens[j].text;
      }
      while (!folder.empty() && isBlank(folder.back())) folder.pop_back();
      if (!fullPath(folder))
        fail("The switch /D= needs a full folder path, such as C:\\Program Files\\App.");
      switches.folder = folder;
      i = tokens.size();
      break;
    } else {
      fail("Unknown switch " + argument + ".");
    }
  }

  // What is left is the script's own command line.
  for (std::size_t j = i; j < tokens.size(); ++j) switches.rest.arguments.push_back(tokens[j].text);
  if (line.raw) {
    std::string raw = line.raw->substr(0, nameEnd);
    if (i < tokens.size()) raw += " " + line.raw->substr(tokens[i].start);
    switches.rest.raw = raw;
    // The system's own split of the arguments is the better one where both agree on the count.
    if (line.arguments.size() == tokens.size())
      switches.rest.arguments.assign(
          line.arguments.end() - static_cast<std::ptrdiff_t>(switches.rest.arguments.size()),
          line.arguments.end());
  }

  const bool types = switches.type == InstallType::Full || switches.type == InstallType::Minimal;
  if (switches.components && types)
    fail("The switch /COMPONENTS= chooses a custom installation; it cannot go with /TYPE=full or "
         "/TYPE=minimal.");
  const bool installSwitches = switches.type || switches.components || switches.group ||
                               switches.noDesktop || switches.run || switches.folder;
  if (!switches.silent && installSwitches)
    fail("The installation switches need /S (a silent installation).");
  return switches;
}

} // namespace app
