// Starting the installed program, or setting up an installed screen saver, when Finish is pressed.
#include "engine/FinishActions.h"

#include "engine/Errors.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Registry.h"

#include <exception>
#include <optional>
#include <string>

namespace engine {
namespace {

bool isScreenSaver(const std::string& path) {
  if (path.size() < 3) return false;
  std::string end = path.substr(path.size() - 3);
  for (char& c : end)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return end == "scr";
}

void startProgram(app::TForm1& form) {
  const std::string& program = form.Tasks.Caption;
  // The text before the last backslash but one: with the doubled backslash of an installed
  // target, the installation folder.
  const std::int32_t n = form.NTH.CountOf(program, "\\");
  const std::string folder = form.NTH.GetFields(program, 0, n - 1, "\\");
  if (!platform::setCurrentDirectory(folder))
    throw EInOutError("Cannot enter the folder " + folder + ".");
  // Quoted: unquoted, a blank in a folder name makes the system start another program.
  platform::winExec("\"" + program + "\"", platform::showcmd::ShowNormal);
}

void installScreenSaver(app::TForm1& form) {
  const std::string& saver = form.Tasks.Caption;
  const std::string systemFolder = form.NTH.SpecialFolder("system32");
  try {
    // The system's own short form of the path where it keeps one; a made-up "~1" name may
    // belong to another file or to none.
    const std::string value = platform::shortPathName(saver).value_or(saver);
    platform::RegKey key =
        platform::RegKey::open(platform::RegRoot::CurrentUser, kDesktopKey, true);
    key.writeString(kScreenSaverValue, value);
  } catch (const std::exception&) {
    // The display settings open all the same.
  }
  platform::shellExecute("open", "rundll32.exe", "shell32.dll,Control_RunDLL Desk.cpl,@0,1",
                         systemFolder, platform::showcmd::ShowNormal);
}

} // namespace

void RunFinishActions(app::TForm1& form) {
  if (isScreenSaver(form.Tasks.Caption))
    installScreenSaver(form);
  else
    startProgram(form);
}

} // namespace engine
