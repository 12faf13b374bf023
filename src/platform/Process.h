// Starting other programs, and the short form of a path that old settings expect.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Show commands for a started program's first window (the system's SW_* values).
namespace showcmd {
inline constexpr int Hide = 0;
inline constexpr int ShowNormal = 1;
inline constexpr int ShowMinimized = 2;
inline constexpr int ShowMaximized = 3;
} // namespace showcmd

// Starts a program from a command line the system's way: a quoted first token is the program;
// otherwise the system tries the text up to each blank in turn, so an unquoted path with blanks
// may start another program ("c:\program files\x.exe" can run "c:\program.exe"). Callers quote
// paths. The new process starts in the current folder. True when the system reports a start.
bool winExec(const std::string& commandLine, int showCmd);

// Asks the shell to apply `verb` ("open", or "" for the default) to `file` with `parameters`
// and the working folder `directory` (either may be empty). `ownerWindow` is the window that
// owns any message the shell shows (a native window handle, or none). True when the shell
// reports success.
bool shellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                  const std::string& directory, int showCmd, void* ownerWindow = nullptr);

// The short (8.3) form of the path of an existing file or folder, as the system gives it; a
// volume without short names gives the long path back. Nothing when the path does not exist.
std::optional<std::string> shortPathName(const std::string& path);

} // namespace platform
