// The application's entry in the system's list of installed programs, with the command line that
// starts the staged uninstaller.
#pragma once

#include "app/Installer.h"

#include <string>

namespace engine {

// The key below HKEY_LOCAL_MACHINE that holds every installed program's entry.
inline constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The Windows folder, "\$qfUninstallV1$\setup.exe /uninstall: ", the flag digit of dirCreated,
// "," and the installation folder exactly as typed. Start-up reads the flag and the folder back
// at fixed positions.
std::string UninstallCommandLine(app::TForm1& form);

// Writes DisplayName, UninstallString, DisplayIcon and Publisher under the entry named by the
// title less " Setup". Any failure ends the step without a trace.
void WriteUninstallEntry(app::TForm1& form);

// Unless the installation folder still holds setup.ini, deletes the entry named by the title
// less its " Uninstall" suffix; an error raised on the way sets form.ErrorText to
// "from Add/Remove Progs".
void RemoveUninstallEntry(app::TForm1& form);

} // namespace engine
