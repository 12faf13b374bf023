// Files and folders, addressed by Windows path text (drive letters, backslashes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

bool directoryExists(const std::string& path);
bool fileExists(const std::string& path);

// File attribute bits, the values of the system's FILE_ATTRIBUTE_* flags.
namespace fileattr {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80; // a file with no other attribute; only alone
inline constexpr std::uint32_t Temporary = 0x100;
inline constexpr std::uint32_t Offline = 0x1000;
inline constexpr std::uint32_t NotContentIndexed = 0x2000;
} // namespace fileattr

// Creates one folder; false when it exists already (as a folder or a file), when its parent
// folder is missing, or when the system refuses.
bool createDirectory(const std::string& path);

// Copies a file with its attributes. An existing destination is replaced unless
// `failIfExists`; a destination that is read-only or hidden, a folder, or the source itself is
// never overwritten (false). False also when the source is missing or is a folder.
bool copyFile(const std::string& from, const std::string& to, bool failIfExists);

// The attributes of a file or folder (fileattr bits); nothing when it does not exist.
std::optional<std::uint32_t> fileAttributes(const std::string& path);

// Replaces the attributes of a file or folder: fileattr::Normal alone clears them all, the
// Directory bit is ignored. False when it does not exist or the system refuses.
bool setFileAttributes(const std::string& path, std::uint32_t attributes);

// Deletes one file; false when it is missing, is a folder, is read-only or cannot be deleted.
bool deleteFile(const std::string& path);

// The process's current folder, the base of every relative path.
std::string currentDirectory();
// Makes an existing folder current; false (and nothing changed) when it cannot be entered.
bool setCurrentDirectory(const std::string& path);

// The names (without folder) of the files directly in `folder` whose names match `mask` by the
// system's wildcard rules ("*" and "?", letters A-Z in either case; several masks may be joined
// by ";"), hidden and system files included, folders not, sorted by name without regard to
// A-Z case. An empty folder text is the current folder; a missing folder lists nothing.
std::vector<std::string> listFiles(const std::string& folder, const std::string& mask);

// The size of a file in bytes; nothing when it is missing or is a folder.
std::optional<std::uint64_t> fileSize(const std::string& path);

// The path that the C and C++ libraries' own file functions take for Windows path text: the
// text itself on Windows, the host file it maps to on the emulated machine.
std::string nativeFilePath(const std::string& path);

} // namespace platform
