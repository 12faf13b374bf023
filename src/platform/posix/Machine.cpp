// The emulated Windows machine: where its root is, its default layout, and how Windows path text
// finds its host file.
#include "platform/posix/Machine.h"

#include "platform/System.h"
#include "platform/posix/Fold.h"
#include "platform/posix/PathText.h"
#include "platform/posix/RegistryStore.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

// The layout of a current Windows 10/11 for the user "User".
constexpr const char* kWindows = "C:\\WINDOWS";
constexpr const char* kProfile = "C:\\Users\\User";
constexpr const char* kRoaming = "C:\\Users\\User\\AppData\\Roaming";
constexpr const char* kLocal = "C:\\Users\\User\\AppData\\Local";
constexpr const char* kTemp = "C:\\Users\\User\\AppData\\Local\\Temp";
constexpr const char* kUserStartMenu =
    "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
constexpr const char* kCommonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
constexpr const char* kComputer = "DESKTOP-QF";

struct NameValue {
  const char* name;
  std::string value;
};

std::vector<NameValue> defaultEnvironment() {
  const std::string windows = kWindows;
  return {
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"APPDATA", kRoaming},
      {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
      {"CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files"},
      {"CommonProgramW6432", "C:\\Program Files\\Common Files"},
      {"COMPUTERNAME", kComputer},
      {"ComSpec", windows + "\\system32\\cmd.exe"},
      {"HOMEDRIVE", "C:"},
      {"HOMEPATH", "\\Users\\User"},
      {"LOCALAPPDATA", kLocal},
      {"LOGONSERVER", std::string("\\\\") + kComputer},
      {"NUMBER_OF_PROCESSORS", "4"},
      {"OS", "Windows_NT"},
      {"Path", windows + "\\system32;" + windows + ";" + windows + "\\System32\\Wbem;" + windows +
                   "\\System32\\WindowsPowerShell\\v1.0\\;" + kLocal + "\\Microsoft\\WindowsApps;"},
      {"PATHEXT", ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"},
      {"PROCESSOR_ARCHITECTURE", "AMD64"},
      {"ProgramData", "C:\\ProgramData"},
      {"ProgramFiles", "C:\\Program Files"},
      {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
      {"ProgramW6432", "C:\\Program Files"},
      {"PUBLIC", "C:\\Users\\Public"},
      {"SystemDrive", "C:"},
      {"SystemRoot", windows},
      {"TEMP", kTemp},
      {"TMP", kTemp},
      {"USERDOMAIN", kComputer},
      {"USERNAME", "User"},
      {"USERPROFILE", kProfile},
      {"windir", windows},
  };
}

struct CsidlPath {
  int csidl;
  std::string path;
};

std::vector<CsidlPath> defaultShellFolders() {
  const std::string windows = kWindows;
  const std::string profile = kProfile;
  const std::string userStart = kUserStartMenu;
  const std::string commonStart = kCommonStartMenu;
  return {
      {csidl::Desktop, profile + "\\Desktop"},
      {csidl::Programs, userStart + "\\Programs"},
      {5 /* Personal */, profile + "\\Documents"},
      {csidl::Favorites, profile + "\\Favorites"},
      {csidl::Startup, userStart + "\\Programs\\Startup"},
      {11 /* StartMenu */, userStart},
      {csidl::DesktopDirectory, profile + "\\Desktop"},
      {20 /* Fonts */, windows + "\\Fonts"},
      {csidl::CommonStartMenu, commonStart},
      {csidl::CommonPrograms, commonStart + "\\Programs"},
      {csidl::CommonStartup, commonStart + "\\Programs\\Startup"},
      {csidl::CommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
      {csidl::AppData, kRoaming},
      {28 /* LocalAppData */, kLocal},
      {35 /* CommonAppData */, "C:\\ProgramData"},
      {csidl::Windows, windows},
      {csidl::System, windows + "\\system32"},
      {csidl::ProgramFiles, "C:\\Program Files"},
      {csidl::Profile, profile},
      {41 /* SystemX86 */, windows + "\\SysWOW64"},
      {csidl::ProgramFilesX86, "C:\\Program Files (x86)"},
      {46 /* CommonDocuments */, "C:\\Users\\Public\\Documents"},
  };
}

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}

// The default colours of a current Windows, by COLOR_* index.
constexpr std::uint32_t kSystemColors[] = {
    rgb(200, 200, 200), // 0 scroll bar
    rgb(0, 0, 0),       // 1 background
    rgb(153, 180, 209), // 2 active caption
    rgb(191, 205, 219), // 3 inactive caption
    rgb(240, 240, 240), // 4 menu
    rgb(255, 255, 255), // 5 window
    rgb(100, 100, 100), // 6 window frame
    rgb(0, 0, 0),       // 7 menu text
    rgb(0, 0, 0),       // 8 window text
    rgb(0, 0, 0),       // 9 caption text
    rgb(180, 180, 180), // 10 active border
    rgb(244, 247, 252), // 11 inactive border
    rgb(171, 171, 171), // 12 application workspace
    rgb(0, 120, 215),   // 13 highlight
    rgb(255, 255, 255), // 14 highlight text
    rgb(240, 240, 240), // 15 button face
    rgb(160, 160, 160), // 16 button shadow
    rgb(109, 109, 109), // 17 grey text
    rgb(0, 0, 0),       // 18 button text
    rgb(0, 0, 0),       // 19 inactive caption text
    rgb(255, 255, 255), // 20 button highlight
    rgb(105, 105, 105), // 21 3D dark shadow
    rgb(227, 227, 227), // 22 3D light
    rgb(0, 0, 0),       // 23 info text
    rgb(255, 255, 225), // 24 info background
    rgb(0, 0, 0),       // 25 (unused)
    rgb(0, 102, 204),   // 26 hot light
    rgb(185, 209, 234), // 27 gradient active caption
    rgb(215, 228, 242), // 28 gradient inactive caption
    rgb(0, 120, 215),   // 29 menu highlight
    rgb(240, 240, 240), // 30 menu bar
};

// Folders a fresh machine has, so that folder tests and shortcuts find what Windows would.
constexpr const char* kDefaultFolders[] = {
    "C:\\WINDOWS\\system32",
    "C:\\WINDOWS\\SysWOW64",
    "C:\\WINDOWS\\Fonts",
    "C:\\WINDOWS\\Temp",
    "C:\\Program Files\\Common Files",
    "C:\\Program Files (x86)\\Common Files",
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
    "C:\\Users\\Public\\Desktop",
    "C:\\Users\\Public\\Documents",
    "C:\\Users\\User\\AppData\\Local\\Temp",
    "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
    "C:\\Users\\User\\Desktop",
    "C:\\Users\\User\\Documents",
    "C:\\Users\\User\\Favorites",
};

// An absolute folder named by an environment variable, or nothing.
std::optional<fs::path> absoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  fs::path path(value);
  if (!path.is_absolute()) return std::nullopt;
  return path;
}

std::string runningExecutable() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

// A Windows location: the top folder under the root ("c" for drive C:, "unc" for network
// paths) and the components below it, "." and ".." already resolved.
struct Location {
  std::string top;
  std::vector<std::string> parts;
};

std::string driveFolder(char letter) {
  return std::string(1, static_cast<char>(foldAscii(letter) + ('a' - 'A')));
}

// Where an absolute path (drive and separator, or UNC) points; nothing for any other text.
std::optional<Location> absoluteLocation(std::string_view text) {
  if (isUnc(text)) {
    Location unc{"unc", {}};
    appendComponents(unc.parts, text);
    return unc;
  }
  if (hasDrive(text) && text.size() >= 3 && isSeparator(text[2])) {
    Location drive{driveFolder(text[0]), {}};
    appendComponents(drive.parts, text.substr(2));
    return drive;
  }
  return std::nullopt;
}

Location locate(std::string_view text, std::string_view currentDirectory) {
  if (std::optional<Location> absolute = absoluteLocation(text)) return *absolute;
  // The current folder is the base of every other form; one that is not absolute itself
  // counts as the root of drive C, as no relative base can be taken from it.
  Location base = absoluteLocation(currentDirectory).value_or(Location{"c", {}});
  if (hasDrive(text)) {
    std::string drive = driveFolder(text[0]);
    if (drive != base.top) base = Location{drive, {}};
    appendComponents(base.parts, text.substr(2));
    return base;
  }
  if (!text.empty() && isSeparator(text[0])) {
    // From the root of the current folder's drive; for a network folder that is its share.
    base.parts.resize(base.top == "unc" ? std::min<std::size_t>(base.parts.size(), 2) : 0);
  }
  appendComponents(base.parts, text);
  return base;
}

// The entry of `folder` whose name equals `name` without regard to A-Z case; an exact match
// wins, then the first in byte order so that the answer never depends on listing order.
std::optional<std::string> findNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::symlink_status(folder / name, ec).type() != fs::file_type::not_found && !ec) return name;
  std::optional<std::string> found;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (equalNoCase(entry, name) && (!found || entry < *found)) found = std::move(entry);
  }
  return found;
}

} // namespace

bool Machine::NoCase::operator()(const std::string& a, const std::string& b) const {
  return lessNoCase(a, b);
}

fs::path Machine::rootFromEnvironment() {
  if (const char* root = std::getenv("QUILLFERN_ROOT"); root && *root) {
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec);
    return ec ? fs::path(root) : absolute;
  }
  std::optional<fs::path> data = absoluteFromEnvironment("XDG_DATA_HOME");
  if (!data) {
    std::optional<fs::path> home = absoluteFromEnvironment("HOME");
    if (!home) {
      if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        home = fs::path(entry->pw_dir);
    }
    if (!home) {
      std::error_code ec;
      home = fs::temp_directory_path(ec);
    }
    data = *home / ".local" / "share";
  }
  return *data / "quillfern" / "machine";
}

Machine::Machine() : root_(rootFromEnvironment()) {
  restoreDefaults();
  registry_ = std::make_unique<RegistryStore>(root_ / "registry.reg");
}

Machine::~Machine() = default;

Machine& Machine::instance() {
  static Machine machine;
  return machine;
}

Machine& Machine::ready() {
  Machine& machine = instance();
  if (!machine.prepared_) {
    machine.prepared_ = true;
    machine.createDefaultFolders();
    machine.registry_->refresh();
  }
  return machine;
}

void Machine::reset(const fs::path& root) {
  root_ = root;
  restoreDefaults();
  registry_ = std::make_unique<RegistryStore>(root_ / "registry.reg");
  createDefaultFolders();
  registry_->refresh();
  prepared_ = true;
}

void Machine::restoreDefaults() {
  currentDirectory_ = "C:\\";
  environment_.clear();
  for (const NameValue& entry : defaultEnvironment()) environment_[entry.name] = entry.value;
  shellFolders_.clear();
  for (const CsidlPath& entry : defaultShellFolders()) shellFolders_[entry.csidl] = entry.path;
  shellFoldersFail_ = false;
  windowsDirectory_ = kWindows;
  windowsDirectoryWritten_ = static_cast<std::uint32_t>(windowsDirectory_.size());
  tempPath_ = std::string(kTemp) + "\\";
  tickSource_ = nullptr;
  systemColors_.clear();
  for (std::size_t i = 0; i < std::size(kSystemColors); ++i)
    systemColors_[static_cast<int>(i)] = kSystemColors[i];
  programPath_ = runningExecutable();
}

fs::path Machine::hostPath(const std::string& windowsPath) const {
  try {
    std::string_view text(windowsPath.c_str()); // the system reads up to the first zero
    if (!text.empty() && text[0] == '/') {
      std::string host(text);
      for (char& c : host)
        if (c == '\\') c = '/';
      return fs::path(host);
    }
    Location location = locate(text, currentDirectory_);
    fs::path path = root_ / location.top;
    bool searching = true; // until a component is missing, later ones cannot exist either
    for (const std::string& part : location.parts) {
      std::optional<std::string> found = searching ? findNoCase(path, part) : std::nullopt;
      if (!found) searching = false;
      path /= found.value_or(part);
    }
    return path;
  } catch (...) {
    // Only allocation can fail here; an empty path names nothing, so every use of it fails.
    return fs::path();
  }
}

std::optional<std::string> Machine::environment(const std::string& name) const {
  auto it = environment_.find(name);
  if (it == environment_.end()) return std::nullopt;
  return it->second;
}

void Machine::setEnvironment(const std::string& name, const std::string& value) {
  auto it = environment_.find(name);
  if (it != environment_.end())
    it->second = value;
  else
    environment_.emplace(name, value);
}

void Machine::unsetEnvironment(const std::string& name) { environment_.erase(name); }

std::optional<std::string> Machine::shellFolder(int csidl) const {
  auto it = shellFolders_.find(csidl);
  if (it == shellFolders_.end()) return std::nullopt;
  return it->second;
}

void Machine::setShellFolder(int csidl, const std::string& windowsPath) {
  shellFolders_[csidl] = windowsPath;
}

void Machine::removeShellFolder(int csidl) { shellFolders_.erase(csidl); }

void Machine::setWindowsDirectory(const std::string& path, std::uint32_t written) {
  windowsDirectory_ = path;
  windowsDirectoryWritten_ = written;
}

std::pair<std::string, std::uint32_t> Machine::windowsDirectory() const {
  return {windowsDirectory_, windowsDirectoryWritten_};
}

std::uint32_t Machine::tickCount() const {
  if (tickSource_) return tickSource_();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
}

std::uint32_t Machine::systemColor(int index) const {
  auto it = systemColors_.find(index);
  return it == systemColors_.end() ? 0 : it->second;
}

void Machine::createDefaultFolders() const {
  for (const char* folder : kDefaultFolders) {
    std::error_code ec;
    fs::create_directories(hostPath(folder), ec);
  }
}

} // namespace platform::posix
