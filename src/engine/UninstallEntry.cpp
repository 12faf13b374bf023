// Registering the installed application with its uninstall command line, and removing the entry.
#include "engine/UninstallEntry.h"

#include "platform/Files.h"
#include "platform/Registry.h"

#include <exception>
#include <string_view>
#include <utility>

namespace engine {
namespace {

// The title less its last `count` characters (nothing when it is shorter).
std::string titleLess(const std::string& title, std::size_t count) {
  return title.size() > count ? title.substr(0, title.size() - count) : std::string();
}

// The entry's name at installation: the title, which reads name " v" version " Setup", less
// those six characters.
std::string installedEntryName(const app::TForm1& form) {
  return titleLess(form.Label1.Caption, 6);
}

// The entry's name at uninstall. The title ends in " Uninstall" once the script's version line
// has been read; a script without one leaves the design title "[none] Setup", whose entry the
// installation registered as "[none]", so the suffix actually present is the one removed.
std::string uninstalledEntryName(const app::TForm1& form) {
  const std::string& title = form.Label1.Caption;
  for (std::string_view suffix : {std::string_view(" Uninstall"), std::string_view(" Setup")})
    if (title.ends_with(suffix)) return title.substr(0, title.size() - suffix.size());
  return titleLess(title, 10);
}

// An entry name that names a key of its own below the list; empty text or backslashes alone
// would name the list itself.
bool namesAnEntry(const std::string& name) {
  return name.find_first_not_of('\\') != std::string::npos;
}

} // namespace

std::string UninstallCommandLine(app::TForm1& form) {
  return form.NTH.SpecialFolder("windows") +
         "\\$qfUninstallV1$\\setup.exe /uninstall: " + (form.dirCreated ? "1" : "0") + "," +
         form.DirectoryEdit1.Text;
}

void WriteUninstallEntry(app::TForm1& form) {
  const std::string entry = installedEntryName(form);
  try {
    if (!namesAnEntry(entry)) return;
    platform::RegKey key =
        platform::RegKey::open(platform::RegRoot::LocalMachine, kUninstallKey + entry, true);
    const std::pair<const char*, std::string> values[] = {
        {"DisplayName", form.progName.Caption + " (Remove Only)"},
        {"UninstallString", UninstallCommandLine(form)},
        {"DisplayIcon", form.DirectoryEdit1.Text + "\\setup.ico"},
        {"Publisher", form.Label39.Caption},
    };
    // A write that fails ends the step; the values before it stay.
    for (const auto& [name, value] : values)
      if (!key.writeString(name, value)) return;
  } catch (const std::exception&) {
    // The run goes on without an entry, or with the values written so far.
  }
}

void RemoveUninstallEntry(app::TForm1& form) {
  // The uninstaller must stay reachable while its script is still in place.
  if (platform::fileExists(form.curDir.Caption + "\\setup.ini")) return;
  try {
    const std::string entry = uninstalledEntryName(form);
    if (namesAnEntry(entry))
      platform::RegKey::deleteKeyTree(platform::RegRoot::LocalMachine, kUninstallKey + entry);
  } catch (const std::exception&) {
    form.ErrorText = "from Add/Remove Progs";
  }
}

} // namespace engine
