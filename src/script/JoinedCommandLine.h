// The command line as start-up reads it: the program's arguments, each followed by one blank.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

namespace script {

// Each argument followed by one blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

// Where the program's name ends in a raw command line: at the first blank or tab outside quotes,
// or at the end of the text.
std::size_t ProgramNameEnd(const std::string& raw);

// The text after the program's name in a raw command line, split the system's way: the name
// ends at the first blank or tab outside quotes; the blanks and tabs after it are skipped.
// Nothing else is changed.
std::string CommandTail(const std::string& raw);

// The joined command line. Where the raw text is known and holds no quote, its tail is used with
// one blank appended: it reads the same as the joined arguments at every position the registered
// uninstall command line uses, and a run of blanks inside the installation folder survives.
std::string JoinedCommandLine(const platform::CommandLine& line);

} // namespace script
