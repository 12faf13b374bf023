// What Finish does with the program the installation recorded in Tasks: start it, or make a
// screen saver the user's own and open the display settings.
#pragma once

#include "app/Installer.h"

namespace engine {

// The registry value the system reads the user's screen saver from.
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kScreenSaverValue = "SCRNSAVE.EXE";

// For Tasks ending in "scr" (any case): writes its path (the system's short form where there is
// one) as the screen saver, silently on failure, and opens the display settings. For anything
// else: enters the working folder and starts Tasks with its path quoted. A working folder that
// cannot be entered raises EInOutError, and nothing is started.
void RunFinishActions(app::TForm1& form);

} // namespace engine
