// Puts the process back into the folder it was in when a test began: tests move the current
// folder into machine roots that are removed afterwards, and the next test must not start in a
// folder that no longer exists.
#pragma once

#include <filesystem>
#include <system_error>

class CurrentFolderGuard {
public:
  CurrentFolderGuard() {
    std::error_code ec;
    start_ = std::filesystem::current_path(ec);
    if (ec) start_ = std::filesystem::temp_directory_path(ec);
  }
  ~CurrentFolderGuard() {
    std::error_code ec;
    std::filesystem::current_path(start_, ec);
  }
  CurrentFolderGuard(const CurrentFolderGuard&) = delete;
  CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
  std::filesystem::path start_;
};
