// Reading files of the emulated machine: Windows path text mapped to a host path, then pread.
#include "platform/FileStream.h"

#include "platform/posix/Machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

struct FileStream::Impl {
  int fd{-1};
  std::uint64_t size{0};
  bool readOnly{false};
  ~Impl() {
    if (fd >= 0) ::close(fd);
  }
};

FileStream::FileStream() = default;
FileStream::FileStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileStream::FileStream(FileStream&&) noexcept = default;
FileStream& FileStream::operator=(FileStream&&) noexcept = default;
FileStream::~FileStream() = default;

FileStream FileStream::openRead(const std::string& path) {
  std::filesystem::path host = posix::Machine::ready().hostPath(path);
  int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  auto impl = std::make_unique<Impl>();
  impl->fd = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return {};
  impl->size = static_cast<std::uint64_t>(info.st_size);
  // The machine keeps the read-only attribute as a file without the owner's write permission.
  impl->readOnly = (info.st_mode & S_IWUSR) == 0;
  return FileStream(std::move(impl));
}

bool FileStream::isOpen() const { return impl_ != nullptr; }
std::uint64_t FileStream::size() const { return impl_ ? impl_->size : 0; }
bool FileStream::readOnlyAttribute() const { return impl_ && impl_->readOnly; }

std::size_t FileStream::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (!impl_) return 0;
  std::size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t got = ::pread(impl_->fd, out + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

} // namespace platform
