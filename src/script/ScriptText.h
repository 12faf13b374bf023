// The text rules of setup.ini (and of the licence text): lines, the header line, statements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class VelTextHandler;

namespace script {

inline constexpr const char* kHeaderV100 = "[Quillfern Installer v1.00]";
inline constexpr const char* kHeaderV110 = "[Quillfern Installer v1.10]";

// The lines of a text file: a line ends at LF or CR LF, a CR without LF is dropped, a Ctrl-Z
// ends the text. A line end at the very end adds no empty line, but an empty text is one empty
// line: whoever reads the file always reads at least one line.
std::vector<std::string> TextLines(std::string_view bytes);

// One of the two accepted first lines, compared exactly.
bool IsScriptHeader(const std::string& line);

// Lower case with only the letters A to Z folded.
std::string LowerAscii(std::string text);

// A statement split at its first "=": the key lower-cased, the value as it stands. A line without
// "=" is key and value at once. Nothing is trimmed.
struct Statement {
  std::string key;
  std::string value;
};
Statement SplitStatement(VelTextHandler& handler, const std::string& line);

} // namespace script
