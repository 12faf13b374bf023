// One shortcut in one call, the same on every platform: a link object with only its path and
// working folder set, saved once.
#include "platform/Shell.h"

namespace platform {

bool createShellLink(const std::string& linkPath, const std::string& targetPath,
                     const std::string& workingDirectory) {
  ShellLink link = ShellLink::create();
  return link.isValid() && link.setPath(targetPath) && link.setWorkingDirectory(workingDirectory) &&
         link.save(linkPath);
}

} // namespace platform
