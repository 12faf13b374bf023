// The installation run and its own steps: the installation folder, the extraction loop, the
// uninstaller staging and the end of the run; and the lines it writes into the run log.
#include "engine/InstallationRun.h"

#include "app/RunLog.h"
#include "engine/DecimalInteger.h"
#include "engine/Errors.h"
#include "engine/FinishActions.h"
#include "engine/InstallationPlan.h"
#include "engine/RegistryValues.h"
#include "engine/Shortcuts.h"
#include "engine/UninstallEntry.h"
#include "engine/UnzipProgress.h"
#include "engine/ZipArchive.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include <array>
#include <cstring>
#include <exception>
#include <memory>

namespace engine {
namespace {

using app::LogLine;

// The window whose record was set up last: the only caller the callback accepts.
app::TForm1* callbackWindow = nullptr;

// The library's buffers for the archive path and the entry name.
using NameBuffer = std::array<char, unzip::NameBufferSize>;

// Copies `text` with its terminating zero into `buffer`. Text that does not fit is an error:
// the library must never be handed a different path than the one meant.
void fillBuffer(NameBuffer& buffer, const std::string& text, const char* what) {
  if (text.size() >= buffer.size() || text.find('\0') != std::string::npos)
    throw EInOutError(std::string(what) + " is too long for the unzip library (" +
                      std::to_string(buffer.size() - 1) + " characters at most): " + text);
  std::memcpy(buffer.data(), text.data(), text.size());
  buffer[text.size()] = '\0';
}

void makeFolder(const std::string& path) {
  if (!platform::createDirectory(path)) throw EInOutError("Cannot create the folder " + path + ".");
}

std::string resultName(std::int32_t result) {
  switch (result) {
  case unzip::Ok:
    return "ok";
  case unzip::BadParameters:
    return "bad parameters";
  case unzip::ArchiveNotFound:
    return "archive not found";
  case unzip::NotAnArchive:
    return "not an archive";
  case unzip::EntryNotFound:
    return "entry not found";
  case unzip::UnsafeName:
    return "unsafe name refused";
  case unzip::NameTooLong:
    return "name too long";
  case unzip::Unsupported:
    return "unsupported entry";
  case unzip::DataError:
    return "damaged data";
  case unzip::ChecksumError:
    return "checksum error";
  case unzip::WriteError:
    return "write error";
  case unzip::Cancelled:
    return "cancelled";
  case unzip::Busy:
    return "library busy";
  default:
    return "error";
  }
}

std::string yesNo(bool value) { return value ? "yes" : "no"; }

// --- What the run log records around the steps of other parts: each value as read back. Without
// a log nothing is read.

void logPlan(app::TForm1& form, double total) {
  if (!app::runLog().IsOpen()) return;
  for (const std::string& entry : form.ListBox13.Items) LogLine("plan entry: " + entry);
  LogLine("plan: " + std::to_string(form.ListBox13.Items.size()) + " entries, " +
          std::to_string(static_cast<std::uint64_t>(total)) + " bytes");
}

void logRegistryValues(app::TForm1& form) {
  if (!app::runLog().IsOpen()) return;
  VelTextHandler& nth = form.NTH;
  platform::RegRoot root = platform::RegRoot::CurrentUser;
  for (const std::string& line : form.ListBox14.Items) {
    const std::string key = nth.GetField(line, 0, ",", true);
    const std::string type = LowerAZ(nth.GetField(line, 1, ",", true));
    const std::string name = nth.GetField(line, 2, ",", true);
    const std::string rootName = nth.GetField(key, 0, "\\", true);
    if (rootName == "HKEY_LOCAL_MACHINE") root = platform::RegRoot::LocalMachine;
    if (rootName == "HKEY_CURRENT_USER") root = platform::RegRoot::CurrentUser;
    const std::string path = nth.GetField(key, 1, "\\", false);
    const std::string where =
        std::string(root == platform::RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                            : "HKEY_CURRENT_USER\\") +
        path + " " + name;
    const platform::RegKey opened = platform::RegKey::open(root, path, false);
    std::string found = "not present";
    if (!opened.isOpen()) {
      found = "key missing";
    } else if (type == "string") {
      if (const auto value = opened.readString(name)) found = "REG_SZ \"" + *value + "\"";
    } else if (type == "bool" || type == "integer") {
      if (const auto value = opened.readDword(name)) found = "REG_DWORD " + std::to_string(*value);
    } else {
      found = "key only (type " + type + ")";
    }
    LogLine("registry: " + line + " -> " + where + ": " + found);
  }
}

void logUninstallEntry(app::TForm1& form) {
  if (!app::runLog().IsOpen()) return;
  const std::string& title = form.Label1.Caption;
  const std::string entry = title.size() > 6 ? title.substr(0, title.size() - 6) : std::string();
  const std::string path = kUninstallKey + entry;
  const platform::RegKey key = platform::RegKey::open(platform::RegRoot::LocalMachine, path, false);
  if (!key.isOpen()) {
    LogLine("uninstall entry: HKEY_LOCAL_MACHINE\\" + path + " not present");
    return;
  }
  for (const char* name : {"DisplayName", "UninstallString", "DisplayIcon", "Publisher"}) {
    const std::optional<std::string> value = key.readString(name);
    LogLine("uninstall entry: HKEY_LOCAL_MACHINE\\" + path + " " + name + " = " +
            (value ? "\"" + *value + "\"" : std::string("not present")));
  }
}

void logShortcuts(app::TForm1& form) {
  if (!app::runLog().IsOpen()) return;
  VelTextHandler& nth = form.NTH;
  const std::string programFolder = ProgramFolder(form);
  const std::vector<std::string>& entries = form.ListBox13.Items;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string type = nth.GetField(entries[i], 0, ",", true);
    const std::optional<std::int32_t> number = DecimalInteger(type);
    if (!number || *number <= 0) continue;
    const std::string link = InstalledLinkName(form, i, entries[i]);
    std::vector<std::string> places;
    if (form.CheckBox9.Checked) places.push_back(nth.SpecialFolder("allDesktop") + link);
    if (type == "1") places.push_back(nth.SpecialFolder("allStartup") + link);
    places.push_back(programFolder + "\\" + link);
    for (const std::string& place : places)
      LogLine("shortcut: " + place + (platform::fileExists(place) ? "" : " not made"));
  }
  LogLine("program to run: " + form.Tasks.Caption);
}

// Makes the engine's parts of the window that are missing.
void makeParts(app::TForm1& form) {
  if (!form.ZipArchive1) form.ZipArchive1 = std::make_shared<TZipArchive>();
  // Value-initialised: every word the run does not set stays zero.
  if (!form.UnZipParams) form.UnZipParams = std::make_shared<::UnZipParams>();
  if (!form.UnZipProgress)
    form.UnZipProgress =
        std::make_shared<UnzipProgress>(&form, form.Label23, form.ProgressBar1, form.ProgressBar2);
}

} // namespace

void BindInstallation(app::TForm1& form, UnZipEntryProc unzip) {
  makeParts(form);
  form.RunInstallation = [&form, unzip] { RunInstallation(form, unzip); };
}

void RunInstallation(app::TForm1& form, UnZipEntryProc unzip) {
  makeParts(form);
  form.dirCreated = false;
  form.SetCursor(platform::Cursor::HourGlass);
  LogLine("install: folder " + form.DirectoryEdit1.Text + ", program folder " + form.Edit1.Text +
          ", desktop shortcut " + yesNo(form.CheckBox9.Checked));

  PrepareInstallationFolder(form);
  CreateProgramFolder(form);
  LogLine("program folder: " + ProgramFolder(form));

  const PlanControls controls{form.ListBox1,  form.GroupLists(), form.GroupCheckBoxes(),
                              form.ListBox13, form.ProgressBar2, form.curDir.Caption,
                              form.NTH};
  const double total = BuildInstallationPlan(controls, *form.ZipArchive1);
  logPlan(form, total);

  form.SetUnZipSwitches();
  form.ErrorText.clear();
  ExtractPlan(form, unzip);
  StageUninstaller(form);

  WriteRegistryValues(form);
  logRegistryValues(form);
  WriteUninstallEntry(form);
  logUninstallEntry(form);
  CreateShortcuts(form);
  logShortcuts(form);

  FinishInstallation(form);
}

void PrepareInstallationFolder(app::TForm1& form) {
  const std::string& folder = form.DirectoryEdit1.Text;
  VelTextHandler& nth = form.NTH;
  const std::int32_t levels = nth.CountOf(folder, "\\");
  std::string path = nth.GetField(folder, 0, "\\", true) + "\\";
  for (std::int32_t k = 1; k <= levels; ++k) {
    path += nth.GetField(folder, k, "\\", true) + "\\";
    if (platform::directoryExists(path)) continue;
    makeFolder(path);
    form.dirCreated = true;
    LogLine("folder created: " + path);
  }
  LogLine(std::string("installation folder: ") + form.DirectoryEdit1.Text +
          (form.dirCreated ? " (created)" : " (existed)"));
}

void ExtractPlan(app::TForm1& form, UnZipEntryProc unzip) {
  makeParts(form);
  if (!unzip) throw EInOutError("The unzip library is not loaded.");
  ::UnZipParams& params = *form.UnZipParams;
  VelTextHandler& nth = form.NTH;
  for (const std::string& line : form.ListBox13.Items) {
    const PlanEntry entry = SplitPlanEntry(line);
    // Allocated for each call and released after it.
    auto archivePath = std::make_unique<NameBuffer>();
    fillBuffer(*archivePath, form.curDir.Caption + "\\" + kPayloadArchive, "The archive path");
    params.ArchivePath = archivePath->data();
    auto entryName = std::make_unique<NameBuffer>();
    fillBuffer(*entryName, entry.name, "The entry name");
    params.FileSpecs[0] = entryName->data();
    params.FileSpecCount = 1;

    if (entry.name != entry.subfolder) {
      std::string path = form.DirectoryEdit1.Text + "\\";
      // An empty subfolder is one empty part: the installation folder itself.
      const std::int32_t parts = nth.CountOf(entry.subfolder, "\\");
      for (std::int32_t k = 0; k <= parts; ++k) {
        path += nth.GetField(entry.subfolder, k, "\\", true) + "\\";
        if (!platform::directoryExists(path)) makeFolder(path);
        if (!platform::setCurrentDirectory(path))
          throw EInOutError("Cannot enter the folder " + path + ".");
      }
    }

    form.UnZipProgress->CurrentEntrySize = PlanEntrySize(entry.size);

    // A failed call names what failed: the subfolder, or the entry itself when it has none.
    const std::string failure = entry.subfolder.empty() ? entry.name : entry.subfolder;
    std::string outcome;
    try {
      const std::int32_t result = unzip(&params);
      outcome = resultName(result);
      if (result != unzip::Ok) {
        form.ErrorText = failure;
        outcome = "failed: " + outcome + " (" + std::to_string(result) + ")";
      }
    } catch (const std::exception& error) {
      form.ErrorText = failure;
      outcome = std::string("failed: ") + error.what();
    }
    params.ArchivePath = nullptr;
    params.FileSpecs[0] = nullptr;
    if (app::runLog().IsOpen())
      LogLine("extract: " + entry.name + " into " + platform::currentDirectory() + ": " + outcome);
  }
}

void StageUninstaller(app::TForm1& form) {
  try {
    const std::string uninstaller =
        form.NTH.SpecialFolder("windows") + "\\" + kUninstallerFolderName;
    if (!platform::directoryExists(uninstaller)) makeFolder(uninstaller);
    const std::string& source = form.curDir.Caption;
    const std::string& folder = form.DirectoryEdit1.Text;
    const std::pair<std::string, std::string> copies[] = {
        {source + "setup.exe", uninstaller + "\\setup.exe"},
        {source + "unzdll.dll", uninstaller + "\\unzdll.dll"},
        {source + "setup.ini", folder + "\\setup.ini"},
        {source + "setup.ico", folder + "\\setup.ico"},
    };
    // A copy that fails (no setup.ico in the source folder, say) is not reported.
    for (const auto& [from, to] : copies)
      LogLine("staged: " + to + (platform::copyFile(from, to, false) ? "" : " not copied"));
    const bool hidden = platform::setFileAttributes(uninstaller, platform::fileattr::Hidden);
    LogLine("uninstaller folder: " + uninstaller + (hidden ? " (hidden)" : " (not hidden)"));
  } catch (const std::exception& error) {
    LogLine(std::string("uninstaller not staged: ") + error.what());
  }
}

void FinishInstallation(app::TForm1& form) {
  form.SetCursor(platform::Cursor::Default);
  form.Button2.Enabled = true;
  form.Button1.Enabled = false;
  form.Notebook1.SetPageIndex(form.Notebook1.PageIndex() + 1);
  form.Label24.Caption =
      form.ErrorText.empty() ? std::string() : kWriteWarning + form.ErrorText + ".";
  if (form.ListBox13.Items.empty()) form.Label24.Caption = kNoFilesWarning;
  LogLine("finished: " + (form.Label24.Caption.empty() ? std::string("no warning")
                                                       : "warning: " + form.Label24.Caption));
}

std::int32_t QF_UNZIP_CALL UnZipCallback(UnZipCallbackInfo* info) {
  app::TForm1* form = callbackWindow;
  if (!info || !form || info->Caller != form || !form->UnZipProgress) throw EInvalidCast();
  return form->UnZipProgress->Callback(*info);
}

} // namespace engine

void app::TForm1::SetUnZipSwitches() {
  if (!UnZipParams) UnZipParams = std::make_shared<::UnZipParams>();
  engine::SetUnZipSwitches(*UnZipParams, this, &engine::UnZipCallback);
  engine::callbackWindow = this;
}
