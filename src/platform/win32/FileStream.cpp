// Reading files through the Windows API, shared for reading and writing with other processes.
#include "platform/FileStream.h"

#include <windows.h>

namespace platform {

struct FileStream::Impl {
  HANDLE handle{INVALID_HANDLE_VALUE};
  std::uint64_t size{0};
  bool readOnly{false};
  ~Impl() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

FileStream::FileStream() = default;
FileStream::FileStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileStream::FileStream(FileStream&&) noexcept = default;
FileStream& FileStream::operator=(FileStream&&) noexcept = default;
FileStream::~FileStream() = default;

FileStream FileStream::openRead(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  auto impl = std::make_unique<Impl>();
  impl->handle = handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  impl->size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  impl->readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
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
    std::uint64_t at = offset + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    std::size_t want = count - done;
    DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
    DWORD got = 0;
    if (!ReadFile(impl_->handle, out + done, chunk, &got, &where) || got == 0) break;
    done += got;
  }
  return done;
}

} // namespace platform
