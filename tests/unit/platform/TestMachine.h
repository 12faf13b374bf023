// The machine one test runs on: on the emulated machine a fresh root in a temporary folder,
// removed afterwards; on Windows the real machine, left as it is.
#pragma once

#include <filesystem>

class TestMachine {
public:
  TestMachine();
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  // The host folder of the fresh root; empty on Windows.
  const std::filesystem::path& root() const { return root_; }

private:
  std::filesystem::path root_;
};
