// A fresh place on the machine the tests run on, removed afterwards: on the POSIX build a new
// emulated machine rooted in a temporary folder, on Windows a new temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace testing_ui {

class Scratch {
public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  // An existing empty folder, as Windows path text without a trailing backslash.
  const std::string& folder() const { return folder_; }

  // Where Windows path text lands on the host.
  std::filesystem::path hostPath(const std::string& windowsPath) const;
  void makeFolder(const std::string& windowsPath) const;
  void writeFile(const std::string& windowsPath, const std::string& bytes) const;

private:
  std::filesystem::path root_;
  std::string folder_;
};

// A name no other test run uses at the same time.
std::string uniqueName(const std::string& prefix);

} // namespace testing_ui
