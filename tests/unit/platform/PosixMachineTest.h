// Fixture for tests of the emulated machine: a fresh machine root per test and short ways to
// reach the machine and to make host folders and files under its root.
#pragma once

#include "platform/posix/Machine.h"
#include "unit/platform/TestMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

class PosixMachineTest : public testing::Test {
protected:
  platform::posix::Machine& machine() { return platform::posix::Machine::instance(); }
  const std::filesystem::path& root() const { return test_.root(); }

  // The host path under the root for a '/'-separated relative text such as "c/Users".
  std::filesystem::path under(const std::string& relative) const { return root() / relative; }

  void makeFolder(const std::string& relative) const {
    std::filesystem::create_directories(under(relative));
  }
  void makeFile(const std::string& relative, const std::string& content = "x") const {
    std::filesystem::create_directories(under(relative).parent_path());
    std::ofstream(under(relative), std::ios::binary) << content;
  }

private:
  TestMachine test_;
};
