// Starting programs and short path names through the Windows API.
#include "platform/Process.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace platform {

namespace {

const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

} // namespace

bool winExec(const std::string& commandLine, int showCmd) {
  // Results up to 31 are the system's error codes.
  return WinExec(commandLine.c_str(), static_cast<UINT>(showCmd)) > 31;
}

bool shellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                  const std::string& directory, int showCmd, void* ownerWindow) {
  HINSTANCE result = ShellExecuteA(static_cast<HWND>(ownerWindow), orNull(verb), file.c_str(),
                                   orNull(parameters), orNull(directory), showCmd);
  // Values up to 32 are the shell's error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<std::string> shortPathName(const std::string& path) {
  DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::vector<char> buffer(size, '\0');
  DWORD written = GetShortPathNameA(path.c_str(), buffer.data(), size);
  if (written == 0 || written >= size) return std::nullopt;
  return std::string(buffer.data(), written);
}

} // namespace platform
