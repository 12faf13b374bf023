// Full Windows path text from relative forms, with separators and dot parts cleaned up.
#include "platform/posix/WindowsPath.h"

#include "platform/posix/Fold.h"
#include "platform/posix/PathText.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace platform::posix {

namespace {

// A full path split into its root ("C:" or "\\server\share" with `fixed` parts that ".." must
// not remove) and the parts below it.
struct Full {
  std::string drive; // "C:", or empty for a network path
  std::vector<std::string> parts;
  std::size_t fixed{0}; // server and share of a network path
};

void append(Full& full, std::string_view text) { appendComponents(full.parts, text, full.fixed); }

std::optional<Full> parseFull(std::string_view text) {
  if (isUnc(text)) {
    Full full;
    std::size_t i = 0;
    // Server and share are taken as they stand; dot parts below them only.
    std::vector<std::string> head;
    while (i < text.size() && head.size() < 2) {
      while (i < text.size() && isSeparator(text[i])) ++i;
      std::size_t start = i;
      while (i < text.size() && !isSeparator(text[i])) ++i;
      if (i > start) head.emplace_back(text.substr(start, i - start));
    }
    full.parts = head;
    full.fixed = head.size();
    append(full, text.substr(i));
    return full;
  }
  if (hasDrive(text) && text.size() >= 3 && isSeparator(text[2])) {
    Full full;
    full.drive = std::string(text.substr(0, 2));
    append(full, text.substr(2));
    return full;
  }
  return std::nullopt;
}

std::string format(const Full& full) {
  std::string text;
  if (full.drive.empty()) {
    text = "\\";
    for (const std::string& part : full.parts) text += "\\" + part;
    return text;
  }
  text = full.drive;
  if (full.parts.empty()) return text + "\\";
  for (const std::string& part : full.parts) text += "\\" + part;
  return text;
}

std::string hostForm(std::string_view text) {
  std::string slashes(text);
  for (char& c : slashes)
    if (c == '\\') c = '/';
  std::string normal = std::filesystem::path(slashes).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

} // namespace

bool isFullWindowsPath(const std::string& text) { return parseFull(text.c_str()).has_value(); }

std::string fullPathName(const std::string& text, const std::string& current) {
  std::string_view path(text.c_str());
  if (path.empty()) return {};
  if (path[0] == '/') return hostForm(path);
  if (std::optional<Full> full = parseFull(path)) return format(*full);
  // The current folder is the base of every other form; one that is not a full Windows path
  // (a host folder) counts as the root of drive C, as the machine's path mapping takes it.
  Full base = parseFull(current.c_str()).value_or(Full{"C:", {}, 0});
  if (hasDrive(path)) {
    if (!equalNoCase(base.drive, path.substr(0, 2)))
      base = Full{std::string(path.substr(0, 2)), {}, 0};
    append(base, path.substr(2));
    return format(base);
  }
  if (isSeparator(path[0])) base.parts.resize(base.fixed);
  append(base, path);
  return format(base);
}

} // namespace platform::posix
