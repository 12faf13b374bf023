// The wizard's window host: the native window where the build has one.
#pragma once

#include <memory>

#include "app/Program.h"

namespace app {

// The host that shows the wizard window. A build without a native window gets one that says so
// and ends the program with exit code 1. A host writes the start-up values into the run log
// (LogStartUp, app/RunLog.h) once the window's first activation has run start-up.
std::unique_ptr<WindowHost> MakeWizardHost();

} // namespace app
