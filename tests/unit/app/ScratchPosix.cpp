// The scratch place of the POSIX build: a fresh emulated machine with the folder C:\scratch.
#include "unit/app/Scratch.h"

#include "platform/posix/Machine.h"

namespace testing_ui {

using platform::posix::Machine;

Scratch::Scratch()
    : root_(std::filesystem::temp_directory_path() / uniqueName("qf-test-machine-")),
      folder_("C:\\scratch") {
  std::filesystem::create_directories(root_);
  Machine::instance().reset(root_);
  makeFolder(folder_);
}

Scratch::~Scratch() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path Scratch::hostPath(const std::string& windowsPath) const {
  return Machine::instance().hostPath(windowsPath);
}

} // namespace testing_ui
