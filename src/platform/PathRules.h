// Rules on path text that both implementations of the platform apply alike: masks of the file
// lister, the order of listed names, and the paths a shell deletion must refuse.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The masks of a ";"-joined mask text, empty ones dropped.
std::vector<std::string> splitMasks(std::string_view masks);

// Sorts names without regard to A-Z case (ties in byte order) and drops repeated names.
void sortNames(std::vector<std::string>& names);

// The text holds a "*" or "?", which the shell would expand into several targets.
bool hasWildcard(std::string_view path);

// The text names no single item below a root: empty, only separators, a drive ("c:", "c:\"),
// a network share ("\\server\share"), or a relative "." or ".." form that climbs back to
// where it started.
bool namesRootOrNothing(std::string_view path);

} // namespace platform
