// Refusing entry names that could write outside the destination folder or reach a device.
#include "EntryName.h"

#include <array>

namespace unzdll {
namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

// Windows maps these names to devices in every folder and with any extension.
bool isDeviceName(std::string_view part) {
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN",    "AUX",
                                                            "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : plain)
    if (equalsNoCase(base, device)) return true;
  if (base.size() == 4 &&
      (equalsNoCase(base.substr(0, 3), "COM") || equalsNoCase(base.substr(0, 3), "LPT"))) {
    const auto digit = static_cast<unsigned char>(base[3]);
    // 1 to 9, and the superscript digits 1, 2 and 3 of the ANSI code page.
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

bool isForbiddenCharacter(unsigned char c) {
  return c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

} // namespace

std::string checkEntryName(std::string_view name, EntryPath& path) {
  path = {};
  if (name.empty()) return "empty entry name";
  if (name.front() == '/' || name.front() == '\\')
    return "absolute, network or device path refused: " + std::string(name);
  for (char c : name) {
    if (c == ':') return "drive or stream name refused: " + std::string(name);
    if (isForbiddenCharacter(static_cast<unsigned char>(c)))
      return "invalid character in entry name: " + std::string(name);
  }
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(start, end - start);
    if (!part.empty()) {
      if (part.back() == '.' || part.back() == ' ')
        return "relative or ambiguous path part refused: " + std::string(name);
      if (isDeviceName(part)) return "device name refused: " + std::string(name);
      parts.push_back(part);
    }
    start = end + 1;
  }
  if (parts.empty()) return "empty entry name";
  const char last = name.back();
  if (last == '/' || last == '\\') {
    path.folders = std::move(parts);
  } else {
    path.file = parts.back();
    parts.pop_back();
    path.folders = std::move(parts);
  }
  return {};
}

} // namespace unzdll
