// One record per text line, fields separated by tabs: the form of the emulated machine's small
// stores (the process log, the file attributes). Bytes below 0x20 and "%" inside a field are
// written as "%XX", so that a field never breaks its line and reads back exactly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

std::string joinFields(const std::vector<std::string>& fields);
std::vector<std::string> splitFields(std::string_view line);

} // namespace platform::posix
