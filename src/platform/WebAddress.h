// How the platforms' quiet services open a web address; the same on both, built on the
// platform's own file and process calls.
#pragma once

#include <string>

namespace platform {

// Opens `address` with the fixed browser when that file exists, otherwise the system's own way.
void openWebAddressDefault(const std::string& address);

} // namespace platform
