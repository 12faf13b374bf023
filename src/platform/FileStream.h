// A file opened for reading by Windows path text: its size, its read-only attribute and reads at
// any offset. Other processes may read and write the file while it is open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class FileStream {
public:
  FileStream();
  FileStream(FileStream&&) noexcept;
  FileStream& operator=(FileStream&&) noexcept;
  ~FileStream();

  // Opens an existing regular file for reading. The result is not isOpen() when the file is
  // missing, is a folder or cannot be opened.
  static FileStream openRead(const std::string& path);

  bool isOpen() const;
  std::uint64_t size() const;
  // The file carries the read-only attribute.
  bool readOnlyAttribute() const;

  // Reads up to `count` bytes at `offset` into `buffer` and returns how many were read: fewer at
  // the end of the file, 0 at or past it and when the read fails.
  std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

  struct Impl;

private:
  explicit FileStream(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

} // namespace platform
