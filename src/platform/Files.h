// Files and folders, addressed by Windows path text (drive letters, backslashes).
#pragma once

#include <string>

namespace platform {

bool directoryExists(const std::string& path);
bool fileExists(const std::string& path);

} // namespace platform
