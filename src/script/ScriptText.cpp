// Lines, header and statements of setup.ini.
#include "script/ScriptText.h"

#include "text/VelTextHandler1.h"

namespace script {

std::vector<std::string> TextLines(std::string_view bytes) {
  const std::size_t end = bytes.find('\x1A');
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::vector<std::string> lines(1);
  for (char c : bytes) {
    if (c == '\r') continue; // ends a line only together with the LF after it
    if (c == '\n')
      lines.emplace_back();
    else
      lines.back().push_back(c);
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

bool IsScriptHeader(const std::string& line) { return line == kHeaderV100 || line == kHeaderV110; }

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return text;
}

Statement SplitStatement(VelTextHandler& handler, const std::string& line) {
  return Statement{LowerAscii(handler.GetField(line, 0, "=", true)),
                   handler.GetField(line, 1, "=", false)};
}

} // namespace script
