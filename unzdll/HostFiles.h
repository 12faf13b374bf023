// The few file operations the library needs from the operating system: reading the archive,
// making folders below the current one, and writing a file under a temporary name that is
// renamed into place only when complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace unzdll::host {

#ifdef _WIN32
inline constexpr char Separator = '\\';
#else
inline constexpr char Separator = '/';
#endif

// What tells one state of the archive file from another: size, modification time, file number.
struct Identity {
  std::uint64_t size{0};
  std::uint64_t time{0};
  std::uint64_t node{0};
  bool operator==(const Identity&) const = default;
};

// The archive path as given by the caller, turned into a path for the system calls. On POSIX the
// text is the program's Windows path text: "/host/path" and relative text are used with their
// backslashes as slashes; "X:\..." is looked up below the emulated machine's root.
std::string archivePath(const std::string& text);

// Identity of the file at `path`; false when it is missing or not a regular file.
bool identify(const std::string& path, Identity& identity);

// An archive opened for reading, shared with other readers and writers.
class ReadFile {
public:
  ReadFile() = default;
  ReadFile(const ReadFile&) = delete;
  ReadFile& operator=(const ReadFile&) = delete;
  ~ReadFile() { close(); }
  bool open(const std::string& path);
  void close();
  bool isOpen() const;
  std::uint64_t size() const { return size_; }
  // Reads up to `count` bytes at `offset`; returns how many were read.
  std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
  std::intptr_t handle_{-1};
  std::uint64_t size_{0};
};

// Makes `folder` + part an existing folder and moves `folder` to it (an empty folder is the
// current one). On POSIX an existing folder whose name differs only in the case of A-Z is used,
// as Windows would. False with `error` set when it exists as a file or cannot be made.
bool enterFolder(std::string& folder, std::string_view part, std::string& error);

// Whether something exists at `path`, and whether it is a folder.
bool exists(const std::string& path, bool& isFolder);

// A file being written. Made by create(), it has a temporary name in its folder and the final
// name is not touched until commit() succeeds. Made by createNew(), it is written under its
// final name, which nothing held before: that is only for data already checked whole. Either
// way the destructor removes a file that was not committed.
class WriteFile {
public:
  WriteFile() = default;
  WriteFile(const WriteFile&) = delete;
  WriteFile& operator=(const WriteFile&) = delete;
  ~WriteFile() { discard(); }
  bool create(const std::string& folder, std::string& error);
  // Creates `path` itself, failing when anything exists there; `taken` then tells that case
  // from other failures.
  bool createNew(const std::string& path, bool& taken, std::string& error);
  bool write(const void* data, std::size_t count, std::string& error);
  // Sets the modification time from an MS-DOS time (low 16 bits) and date, as local time.
  void setTime(std::uint32_t dosTimeDate);
  // Closes the file and renames it to `target`, replacing an existing file (a file made by
  // createNew() is at its target already and is only closed).
  bool commit(const std::string& target, std::string& error);
  void discard();

private:
  std::intptr_t handle_{-1};
  std::string temporary_; // the name to remove unless committed: temporary or new
  bool inPlace_{false};   // made by createNew()
};

} // namespace unzdll::host
