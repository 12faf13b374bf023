// Process environment, system folders and the tick counter.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Shell folder identifiers (the CSIDL numbers of the Windows shell).
namespace csidl {
inline constexpr int Desktop = 0;
inline constexpr int Programs = 2;
inline constexpr int Favorites = 6;
inline constexpr int Startup = 7;
inline constexpr int DesktopDirectory = 16;
inline constexpr int CommonStartMenu = 22;
inline constexpr int CommonPrograms = 23;
inline constexpr int CommonStartup = 24;
inline constexpr int CommonDesktopDirectory = 25;
inline constexpr int AppData = 26;
inline constexpr int Windows = 36;
inline constexpr int System = 37;
inline constexpr int ProgramFiles = 38;
inline constexpr int Profile = 40;
inline constexpr int ProgramFilesX86 = 42;
} // namespace csidl

// The value of an environment variable; an unset variable reads as empty.
std::string environmentVariable(const std::string& name);

// The path of a shell special folder, asked with no owner window, no user token and flags 0,
// into a buffer of MAX_PATH characters. A failing call leaves the answer empty.
std::string shellFolder(int csidl);

// The Windows directory as the system writes it into a MAX_PATH buffer.
struct WindowsDirectory {
  std::string path;         // the characters up to the first zero
  std::uint32_t written{0}; // the count the system reported; 0 means the call failed
};
WindowsDirectory windowsDirectory();

// The temporary-files path, read the way the system asks for it: first the size of the buffer
// it needs (0 when the call fails), then the path into a buffer of exactly that size.
std::uint32_t tempPathSize();
std::string tempPath(std::uint32_t bufferSize);

// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t tickCount();

// The current RGB value of a system colour (COLOR_BTNFACE ...), as 0x00BBGGRR.
namespace syscolor {
inline constexpr int WindowText = 8;
inline constexpr int BtnFace = 15;
} // namespace syscolor
std::uint32_t systemColor(int index);

// The program's own full path, as the system reports it.
std::string programPath();

// Standard error of a windowed program that has none (started from a console window without
// redirection): the console of the program that started it, where there is one. Nothing changes
// where standard error is already set, nor on POSIX.
void attachParentConsoleForErrors();

} // namespace platform
