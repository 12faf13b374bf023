// Shortcut files for the installed programs (Start-menu program folder, desktop, Startup) and
// their removal, with the shell deletion of a whole folder into the recycle bin.
#pragma once

#include "app/Installer.h"

#include <cstddef>
#include <string>

namespace engine {

// Status line of the Install page while the shortcuts are made.
inline constexpr const char* kCreatingShortcuts = "Creating Shortcuts...";

// The longest path DeleteFolder hands to the shell: its buffer of 256 characters ends in two
// zeros.
inline constexpr std::size_t kDeleteFolderMaxPath = 254;

// The program folder: the all-users Programs folder followed directly by Edit1.
std::string ProgramFolder(app::TForm1& form);

// Creates the program folder's last level when it is missing; EInOutError when it cannot.
void CreateProgramFolder(app::TForm1& form);

// Gives every plan entry of type 1 to 3 in ListBox13 a shortcut in the program folder, one on the
// all-users desktop when CheckBox9 is ticked and, for type 1, one in the all-users Startup
// folder. The first such entry's target becomes Tasks. EOleError when no link object can be
// made; saves that fail are passed over.
void CreateShortcuts(app::TForm1& form);

// The file name of the shortcut CreateShortcuts makes for plan entry `entry` at `index`: the
// program name for the first entry, otherwise the entry name less its last four characters.
std::string InstalledLinkName(app::TForm1& form, std::size_t index, const std::string& entry);

// The uninstall's counterpart: desktop and Startup shortcuts of the listed entries, and the
// program folder as a whole (only when Edit1 names a folder below the Programs folder).
void RemoveShortcuts(app::TForm1& form);

// Moves a folder with its content into the recycle bin, silently; false when the shell reports
// a failure, when the path is longer than kDeleteFolderMaxPath, or when an error is raised.
bool DeleteFolder(const std::string& path);

} // namespace engine
