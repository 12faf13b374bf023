// A fresh folder per test under the system's temporary folder, removed afterwards; in the native
// build the emulated machine is moved inside it so that no test touches the user's own machine.
#pragma once

#ifdef QF_EMULATED_MACHINE
#include "platform/posix/Machine.h"
#endif

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("qf-engine-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_ / "machine");
#ifdef QF_EMULATED_MACHINE
    platform::posix::Machine::instance().reset(path_ / "machine");
#endif
  }
  ~TempFolder() {
    // Files a test made read-only must be writable again to be removed on Windows.
    std::error_code ec;
    for (const auto& item : std::filesystem::recursive_directory_iterator(path_, ec))
      std::filesystem::permissions(item.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A path below the folder as text for the platform layer (a host path in the native build).
  std::string text(const std::string& name) const { return (path_ / name).string(); }

  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

private:
  std::filesystem::path path_;
};
