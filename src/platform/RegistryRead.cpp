// Reading one string value the way the folder lookup does: open with full access, create if
// missing, and read anything that fails as empty.
#include "platform/Registry.h"

namespace platform {

std::string readRegistryString(RegRoot root, const std::string& key, const std::string& name) {
  RegKey opened = RegKey::open(root, key, true);
  return opened.readString(name).value_or(std::string());
}

} // namespace platform
