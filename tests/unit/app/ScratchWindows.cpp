// The scratch place of the Windows build: a new folder under the user's temporary folder.
#include "unit/app/Scratch.h"

namespace testing_ui {

Scratch::Scratch() : root_(std::filesystem::temp_directory_path() / uniqueName("qf-test-")) {
  std::filesystem::create_directories(root_);
  folder_ = root_.string();
}

Scratch::~Scratch() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path Scratch::hostPath(const std::string& windowsPath) const {
  return std::filesystem::path(windowsPath);
}

} // namespace testing_ui
