// The archive file as a positioned stream, read through a window buffer so that walking a large
// directory costs few system calls. Seeking past the end is allowed; reads there return nothing.
#pragma once

#include "platform/FileStream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ZipStream {
public:
  explicit ZipStream(platform::FileStream file);

  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  void Seek(std::uint64_t position) { position_ = position; }

  // Reads up to `count` bytes at the position and moves past what was read; returns the count.
  std::size_t Read(void* buffer, std::size_t count);
  // Reads up to `count` bytes into a string, shorter when the end of the file cuts it.
  std::string ReadString(std::size_t count);

  const platform::FileStream& File() const { return file_; }

private:
  platform::FileStream file_;
  std::uint64_t size_{0};
  std::uint64_t position_{0};
  std::vector<unsigned char> window_;
  std::uint64_t windowStart_{0};
  std::size_t windowLength_{0};
};
