// Positioned, buffered reads of the archive file.
#include "engine/ZipStream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t WindowSize = 64 * 1024;
}

ZipStream::ZipStream(platform::FileStream file)
    : file_(std::move(file)), size_(file_.size()), window_(WindowSize) {}

std::size_t ZipStream::Read(void* buffer, std::size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position_));
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = position_ + done;
    if (at >= windowStart_ && at < windowStart_ + windowLength_) {
      const auto offset = static_cast<std::size_t>(at - windowStart_);
      const std::size_t n = std::min(count - done, windowLength_ - offset);
      std::memcpy(out + done, window_.data() + offset, n);
      done += n;
      continue;
    }
    if (count - done >= WindowSize) {
      // Large reads go straight to the caller's buffer.
      const std::size_t n = file_.readAt(at, out + done, count - done);
      done += n;
      break;
    }
    // Walking backwards (the end-record search) keeps the window ending just after the read.
    const bool backwards = windowLength_ != 0 && at < windowStart_;
    const std::uint64_t start = backwards && at + 64 > WindowSize ? at + 64 - WindowSize
                                : backwards                       ? 0
                                                                  : at;
    windowStart_ = start;
    windowLength_ = file_.readAt(start, window_.data(), WindowSize);
    if (windowLength_ == 0 || at >= windowStart_ + windowLength_) break;
  }
  position_ += done;
  return done;
}

std::string ZipStream::ReadString(std::size_t count) {
  // Only what the file still holds is allocated, however long the stored length claims to be.
  if (position_ >= size_) return {};
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position_));
  std::string text(count, '\0');
  text.resize(Read(text.data(), count));
  return text;
}
