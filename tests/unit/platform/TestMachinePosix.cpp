// A fresh emulated machine per test, rooted in its own temporary folder.
#include "unit/platform/TestMachine.h"

#include "platform/posix/Machine.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

TestMachine::TestMachine() {
  std::string pattern = (fs::temp_directory_path() / "qf-machine-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary machine root");
  root_ = pattern;
  platform::posix::Machine::instance().reset(root_);
}

TestMachine::~TestMachine() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}
