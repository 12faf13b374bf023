// The library's file operations through the Windows API (ANSI calls, as the program passes
// 8-bit text of the system's code page).
#include "HostFiles.h"

#include <windows.h>

#include <cstdio>

namespace unzdll::host {
namespace {

std::string join(const std::string& folder, std::string_view part) {
  if (folder.empty()) return std::string(part);
  std::string path = folder;
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += part;
  return path;
}

std::string errorText(const char* what, const std::string& path) {
  const DWORD code = GetLastError();
  return std::string(what) + " " + path + " (system error " + std::to_string(code) + ")";
}

HANDLE asHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }
std::intptr_t fromHandle(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

unsigned counter = GetTickCount() ^ GetCurrentProcessId();

} // namespace

std::string archivePath(const std::string& text) { return text; }

bool identify(const std::string& path, Identity& identity) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  identity.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  identity.time = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
  identity.node =
      (std::uint64_t{data.ftCreationTime.dwHighDateTime} << 32) | data.ftCreationTime.dwLowDateTime;
  return true;
}

bool ReadFile::open(const std::string& path) {
  close();
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle, &size)) {
    CloseHandle(handle);
    return false;
  }
  handle_ = fromHandle(handle);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

void ReadFile::close() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
  size_ = 0;
}

bool ReadFile::isOpen() const { return handle_ != -1; }

std::size_t ReadFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  std::size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count && handle_ != -1) {
    const std::uint64_t at = offset + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const std::size_t want = count - done;
    const DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
    DWORD got = 0;
    if (!::ReadFile(asHandle(handle_), out + done, chunk, &got, &where) || got == 0) break;
    done += got;
  }
  return done;
}

bool enterFolder(std::string& folder, std::string_view part, std::string& error) {
  std::string path = join(folder, part);
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      error = errorText("cannot create folder", path);
      return false;
    }
    attributes = GetFileAttributesA(path.c_str());
  }
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = "a file stands where a folder is needed: " + path;
    return false;
  }
  folder = std::move(path);
  return true;
}

bool exists(const std::string& path, bool& isFolder) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

bool WriteFile::create(const std::string& folder, std::string& error) {
  discard();
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "~qf%08x.tmp", counter++);
    std::string path = join(folder, name);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      handle_ = fromHandle(handle);
      temporary_ = std::move(path);
      return true;
    }
    const DWORD why = GetLastError();
    if (why != ERROR_FILE_EXISTS && why != ERROR_ALREADY_EXISTS) {
      error = errorText("cannot create file", path);
      return false;
    }
  }
  error = "cannot find a free temporary name in " + (folder.empty() ? "." : folder);
  return false;
}

bool WriteFile::createNew(const std::string& path, bool& taken, std::string& error) {
  discard();
  taken = false;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    taken = why == ERROR_FILE_EXISTS || why == ERROR_ALREADY_EXISTS;
    error = errorText("cannot create file", path);
    return false;
  }
  handle_ = fromHandle(handle);
  temporary_ = path;
  inPlace_ = true;
  return true;
}

bool WriteFile::write(const void* data, std::size_t count, std::string& error) {
  const auto* bytes = static_cast<const char*>(data);
  while (count > 0) {
    const DWORD chunk = count > 0x10000000u ? 0x10000000u : static_cast<DWORD>(count);
    DWORD put = 0;
    if (!::WriteFile(asHandle(handle_), bytes, chunk, &put, nullptr) || put == 0) {
      error = errorText("cannot write", temporary_);
      return false;
    }
    bytes += put;
    count -= put;
  }
  return true;
}

void WriteFile::setTime(std::uint32_t dosTimeDate) {
  FILETIME local{};
  FILETIME utc{};
  if (!DosDateTimeToFileTime(static_cast<WORD>(dosTimeDate >> 16),
                             static_cast<WORD>(dosTimeDate & 0xFFFF), &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return;
  SetFileTime(asHandle(handle_), nullptr, nullptr, &utc);
}

bool WriteFile::commit(const std::string& target, std::string& error) {
  const BOOL closed = CloseHandle(asHandle(handle_));
  handle_ = -1;
  if (!closed) {
    error = errorText("cannot write", temporary_);
    discard();
    return false;
  }
  if (inPlace_) {
    temporary_.clear();
    inPlace_ = false;
    return true;
  }
  if (!MoveFileExA(temporary_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    // A read-only file in the way is replaced, as an installer's files are meant to be.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES &&
                          !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          (attributes & FILE_ATTRIBUTE_READONLY);
    if (!readOnly ||
        !SetFileAttributesA(target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}) ||
        !MoveFileExA(temporary_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      error = errorText("cannot write", target);
      discard();
      return false;
    }
  }
  temporary_.clear();
  return true;
}

void WriteFile::discard() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
  if (!temporary_.empty()) DeleteFileA(temporary_.c_str());
  temporary_.clear();
  inPlace_ = false;
}

} // namespace unzdll::host
