// Making and removing the installed programs' shortcut files, and deleting folders through the
// shell.
#include "engine/Shortcuts.h"

#include "engine/DecimalInteger.h"
#include "engine/Errors.h"
#include "engine/PlanEntry.h"
#include "platform/Files.h"
#include "platform/Shell.h"

#include <exception>
#include <string_view>
#include <vector>

namespace engine {
namespace {

// The text up to and including its last backslash.
std::string folderPart(const std::string& path) {
  const std::size_t last = path.rfind('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// Where the plan entry's file was extracted: the installation folder, the subfolder and the
// entry name, unless the subfolder field repeats the name. The plan entry is read as the
// extraction reads it, so a name with commas leads to the file that was written.
std::string installedTarget(app::TForm1& form, const std::string& entry) {
  const PlanEntry plan = SplitPlanEntry(entry);
  const std::string& folder = form.DirectoryEdit1.Text;
  if (plan.subfolder == plan.name) return folder + plan.name;
  return folder + "\\" + plan.subfolder + "\\" + plan.name;
}

// At uninstall the list holds the script's patterns: the name is taken up to its first dot.
std::string uninstalledLinkName(app::TForm1& form, std::size_t index, const std::string& entry) {
  if (index == 0) return form.progName.Caption + ".lnk";
  return form.NTH.GetField(form.NTH.GetField(entry, 1, ",", true), 0, ".", true) + ".lnk";
}

// Edit1 names a folder below the Programs folder: at least one level, and no level that climbs
// out or vanishes (".", "..", or dots and blanks alone, which the system strips to nothing).
bool namesFolderBelow(std::string_view name) {
  bool level = false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view part = name.substr(start, end - start);
    if (!part.empty()) {
      if (part.find_first_not_of(". ") == std::string_view::npos) return false;
      level = true;
    }
    start = end + 1;
  }
  return level;
}

} // namespace

std::string InstalledLinkName(app::TForm1& form, std::size_t index, const std::string& entry) {
  if (index == 0) return form.progName.Caption + ".lnk";
  const std::string name = SplitPlanEntry(entry).name;
  return name.substr(0, name.size() > 4 ? name.size() - 4 : 0) + ".lnk";
}

std::string ProgramFolder(app::TForm1& form) {
  return form.NTH.SpecialFolder("allPrograms") + form.Edit1.Text;
}

void CreateProgramFolder(app::TForm1& form) {
  const std::string folder = ProgramFolder(form);
  if (!platform::directoryExists(folder) && !platform::createDirectory(folder))
    throw EInOutError("Cannot create the program folder " + folder + ".");
}

void CreateShortcuts(app::TForm1& form) {
  form.Label23.Caption = kCreatingShortcuts;
  const std::string programFolder = ProgramFolder(form);
  const std::vector<std::string>& entries = form.ListBox13.Items;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& entry = entries[i];
    const std::string type = form.NTH.GetField(entry, 0, ",", true);
    if (ConvertInteger(type) <= 0) continue;
    const std::string target = installedTarget(form, entry);
    if (form.Tasks.Caption == "Tasks") form.Tasks.Caption = target;

    platform::ShellLink link = platform::ShellLink::create();
    if (!link.isValid()) throw EOleError("Cannot make a shell link object. " + link.error());
    link.setPath(target);
    link.setWorkingDirectory(folderPart(target));
    const std::string name = InstalledLinkName(form, i, entry);
    // A save that fails leaves no file, and the run goes on.
    if (form.CheckBox9.Checked) link.save(form.NTH.SpecialFolder("allDesktop") + name);
    if (type == "1") link.save(form.NTH.SpecialFolder("allStartup") + name);
    link.save(programFolder + "\\" + name);
  }
}

void RemoveShortcuts(app::TForm1& form) {
  const std::string programFolder = ProgramFolder(form);
  const bool folderIsOurs = namesFolderBelow(form.Edit1.Text);
  const std::vector<std::string>& entries = form.ListBox13.Items;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& entry = entries[i];
    const std::string type = form.NTH.GetField(entry, 0, ",", true);
    const std::string name = uninstalledLinkName(form, i, entry);
    if (ConvertInteger(type) > 0) {
      const std::string desktopLink = form.NTH.SpecialFolder("allDesktop") + name;
      try {
        if (platform::fileExists(desktopLink)) platform::deleteFile(desktopLink);
      } catch (const std::exception&) {
        form.ErrorText = desktopLink;
      }
    }
    if (folderIsOurs && platform::directoryExists(programFolder)) DeleteFolder(programFolder);
    if (type == "1") {
      const std::string startupLink = form.NTH.SpecialFolder("allStartup") + name;
      if (platform::fileExists(startupLink)) platform::deleteFile(startupLink);
    }
  }
}

bool DeleteFolder(const std::string& path) {
  // Too long for the shell's buffer: refused whole rather than cut to another folder's name.
  if (path.size() > kDeleteFolderMaxPath) return false;
  try {
    return platform::shellDeleteToRecycleBin(path);
  } catch (const std::exception&) {
    return false;
  }
}

} // namespace engine
