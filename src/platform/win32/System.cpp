// Environment, system folders, colours and the tick counter through the Windows API.
#include "platform/System.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <vector>

namespace platform {

std::string environmentVariable(const std::string& name) {
  DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::string value(size, '\0');
  DWORD written = GetEnvironmentVariableA(name.c_str(), value.data(), size);
  value.resize(written < size ? written : 0);
  return value;
}

std::string shellFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE)) return {};
  return buffer;
}

WindowsDirectory windowsDirectory() {
  char buffer[MAX_PATH] = {};
  UINT written = GetWindowsDirectoryA(buffer, MAX_PATH);
  return {buffer, written};
}

std::uint32_t tempPathSize() { return GetTempPathA(0, nullptr); }

std::string tempPath(std::uint32_t bufferSize) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  GetTempPathA(bufferSize, buffer.data());
  return buffer.data();
}

std::uint32_t tickCount() { return GetTickCount(); }

std::uint32_t systemColor(int index) { return GetSysColor(index); }

std::string programPath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

void attachParentConsoleForErrors() {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  // A console that cannot be opened for writing leaves standard error as it was.
  std::FILE* reopened = std::freopen("CONOUT$", "w", stderr);
  static_cast<void>(reopened);
}

} // namespace platform
