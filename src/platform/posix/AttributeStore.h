// The file attributes of the emulated machine that a host file system has no place for.
//
// Read-only files are files without the owner's write permission (so every reader of the host
// file sees it); everything else (hidden, system, archive, read-only folders ...) is kept in
// <root>/attributes.txt, one line per file: the attribute bits in hex, the file's inode number
// and its path below the root (or its host path when it lies outside). A line whose file is gone
// or has another inode (deleted and made again by someone else) counts for nothing and is
// dropped at the next change. Files without a line have the attributes a new file gets on
// Windows: archive for a file, none for a folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform::posix {

// The attributes of the host file or folder at `host` (fileattr bits); nothing when missing.
std::optional<std::uint32_t> readAttributes(const std::filesystem::path& host);

// Replaces the attributes as SetFileAttributes does; false when missing or refused.
bool writeAttributes(const std::filesystem::path& host, std::uint32_t attributes);

// The bits kept in the store for `host` (read-only of a file excluded), or nothing when it has
// the attributes of a new file.
std::optional<std::uint32_t> storedAttributes(const std::filesystem::path& host);

// Keeps `bits` for the file now at `host` (a copy takes its source's bits); nothing keeps the
// defaults.
void keepAttributes(const std::filesystem::path& host, std::optional<std::uint32_t> bits);

// The file or folder at `from` (and all below it) now lives at `to`: its lines follow it.
void moveAttributes(const std::filesystem::path& from, const std::filesystem::path& to);

// Drops the lines of `host` and of all below it.
void forgetAttributes(const std::filesystem::path& host);

} // namespace platform::posix
