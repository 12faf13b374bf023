// What both builds' scratch places share: unique names, folder and file creation.
#include "unit/app/Scratch.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>

namespace testing_ui {

std::string uniqueName(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return prefix + std::to_string(random()) + "-" + std::to_string(now) + "-" +
         std::to_string(counter++);
}

void Scratch::makeFolder(const std::string& windowsPath) const {
  std::filesystem::create_directories(hostPath(windowsPath));
}

void Scratch::writeFile(const std::string& windowsPath, const std::string& bytes) const {
  const std::filesystem::path host = hostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace testing_ui
