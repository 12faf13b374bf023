// The Shell Link (.lnk) binary format as the emulated machine writes it: a header, a LinkInfo
// block whose local base path is the target, and the working folder as a string. The files are
// read by Windows and by the usual .lnk tools alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::posix {

// What a link holds: texts in the machine's code page (Windows-1252).
struct ShellLinkFields {
  std::string target;
  std::string workingDirectory;
  // What the header says of the target when it was saved (0 when it did not exist).
  std::uint32_t targetAttributes{0};
  std::uint32_t targetSize{0};
  std::uint64_t targetWriteTime{0}; // FILETIME: 100 ns since 1601-01-01
};

// The bytes of a link file; nothing when a text is too long for the format.
std::optional<std::string> encodeShellLink(const ShellLinkFields& fields);

// Reads back a link file's target (the LinkInfo's local base path) and working folder; nothing
// when the bytes are not a link this reader understands.
std::optional<ShellLinkFields> decodeShellLink(const std::string& bytes);

// decodeShellLink of the file at Windows path text `linkPath` on this machine.
std::optional<ShellLinkFields> readShellLink(const std::string& linkPath);

} // namespace platform::posix
