// A fresh emulated machine for one test of the installation steps, with the main window model,
// a scripted user interface and the COM apartment the program keeps; the process goes back to
// the folder it started in.
#pragma once

#include "app/Installer.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/posix/Machine.h"
#include "platform/posix/RegistryStore.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"
#include "unit/platform/CurrentFolderGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine_test {

inline platform::posix::RegistryStore& registry() {
  return platform::posix::Machine::instance().registry();
}

// The value lines of one key as the registry file shows them, below its "[full name]" line.
inline std::vector<std::string> valueLines(const std::string& fullName) {
  const std::string text = registry().text();
  const std::string heading = "[" + fullName + "]\n";
  std::vector<std::string> lines;
  std::size_t at = text.find(heading);
  if (at == std::string::npos) return lines;
  at += heading.size();
  while (at < text.size() && text[at] != '\n') {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

} // namespace engine_test

class EngineMachine : public testing::Test {
protected:
  CurrentFolderGuard currentFolder_;
  testing_ui::Scratch scratch_;
  testing_ui::ScriptedUi ui_;
  platform::ComApartment apartment_;
  app::TForm1 form_;
};
