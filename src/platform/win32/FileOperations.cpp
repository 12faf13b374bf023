// Creating, copying, deleting and listing files, file attributes and the current folder through
// the Windows API.
#include "platform/Files.h"

#include "platform/PathRules.h"

#include <windows.h>

namespace platform {

bool createDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool copyFile(const std::string& from, const std::string& to, bool failIfExists) {
  return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

std::optional<std::uint32_t> fileAttributes(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return static_cast<std::uint32_t>(attributes);
}

bool setFileAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string currentDirectory() {
  for (DWORD size = MAX_PATH;;) {
    std::string buffer(size, '\0');
    DWORD written = GetCurrentDirectoryA(size, buffer.data());
    if (written == 0) return {};
    if (written < size) return buffer.substr(0, written);
    size = written; // too small: the answer is the size needed
  }
}

bool setCurrentDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& mask) {
  std::string prefix = folder.c_str();
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
  std::vector<std::string> names;
  for (const std::string& one : splitMasks(mask)) {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((prefix + one).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  sortNames(names);
  return names;
}

std::optional<std::uint64_t> fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string nativeFilePath(const std::string& path) { return path.c_str(); }

} // namespace platform
