// The script's registry values: written by the installation run, their keys deleted by the
// uninstall run.
#pragma once

#include "app/Installer.h"

#include <string>

namespace engine {

// Status line of the Install page while the values are written.
inline constexpr const char* kCreatingRegistryKeys = "Creating Registry Keys...";

// Writes one value per line of ListBox14 ("root\key path,type,name,data"). A line that fails
// (key not creatable, value not writable, integer data that does not convert) sets
// form.ErrorText to field 0 + "\" + field 2; the remaining lines are still written.
void WriteRegistryValues(app::TForm1& form);

// Deletes, for each line of ListBox14, the whole key of field 0 with its subkeys and values.
// Deletions that fail are passed over. Top-level keys (a root's own first-level keys such as
// Software, and the hives of the machine root) are never deleted.
void RemoveRegistryKeys(app::TForm1& form);

} // namespace engine
