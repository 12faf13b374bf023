// Tab-separated records with %XX escapes for control bytes and the percent sign.
#include "platform/posix/LineFields.h"

namespace platform::posix {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

} // namespace

std::string joinFields(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    for (char c : fields[i]) {
      auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || c == '%') {
        line += '%';
        line += kHex[byte >> 4];
        line += kHex[byte & 0xF];
      } else {
        line += c;
      }
    }
  }
  return line;
}

std::vector<std::string> splitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '%' && i + 2 < line.size() && hexValue(line[i + 1]) >= 0 &&
               hexValue(line[i + 2]) >= 0) {
      fields.back() += static_cast<char>(hexValue(line[i + 1]) * 16 + hexValue(line[i + 2]));
      i += 2;
    } else if (c != '\r' && c != '\n') {
      fields.back() += c;
    }
  }
  return fields;
}

} // namespace platform::posix
