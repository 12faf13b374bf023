// VelTextHandler::SpecialFolder: named system folders, each from a chain of sources that falls
// through to the next whenever an answer is too short to be a real path.
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "text/VelTextHandler1.h"

#include <cstddef>

namespace {

// Answers of ten characters or fewer ("C:\WINDOWS", an unset variable, a failed call) are not
// trusted to name the folder.
bool isShort(const std::string& value) { return value.size() < 11; }

std::string lowerAZ(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string env(const char* name) { return platform::environmentVariable(name); }

// The user's home folder, or the all-users folder of the old profile layout when it is not set.
std::string homeOrAllUsers() {
  std::string home = env("HOMEDRIVE") + env("HOMEPATH");
  return isShort(home) ? std::string("c:\\documents and settings\\all users") : home;
}

} // namespace

std::string VelTextHandler::SpecialFolder(std::string name) {
  std::string r = "c:\\";
  const std::string row = lowerAZ(std::move(name));

  if (row == "windows") {
    r = env("windir");
    if (isShort(r)) {
      const platform::WindowsDirectory system = platform::windowsDirectory();
      r = system.path;
      if (isShort(r) && system.written == 0) r = "c:\\windows\\";
    }
  } else if (row == "system32") {
    r = platform::shellFolder(platform::csidl::System);
    if (isShort(r)) r = env("windir") + "\\system32\\";
    if (isShort(r)) r = "c:\\windows\\system32\\";
  } else if (row == "programfiles") {
    r = platform::shellFolder(platform::csidl::ProgramFiles);
    if (isShort(r)) {
      r = platform::readRegistryString(platform::RegRoot::LocalMachine,
                                       "Software\\Microsoft\\Windows\\CurrentVersion",
                                       "ProgramFilesDir");
    }
    if (isShort(r)) {
      r = platform::directoryExists("c:\\program files (x86)") ? "c:\\program files (x86)\\"
                                                               : "c:\\program files\\";
    }
  } else if (row == "temp") {
    r = env("temp");
    if (isShort(r)) {
      const std::uint32_t size = platform::tempPathSize();
      r = size == 0 ? std::string() : platform::tempPath(size);
      if (isShort(r) && size == 0) r = "c:\\windows\\temp\\";
    }
  } else if (row == "profile") {
    r = env("userprofile");
    // The desktop's drive and next two folders: the profile of the old layout.
    if (isShort(r)) r = GetFields(platform::shellFolder(platform::csidl::Desktop), 0, 3, "\\");
  } else if (row == "favorites") {
    r = platform::shellFolder(platform::csidl::Favorites);
    if (isShort(r)) {
      r = platform::readRegistryString(
          platform::RegRoot::CurrentUser,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites");
    }
  } else if (row == "alldesktop") {
    r = platform::shellFolder(platform::csidl::CommonDesktopDirectory);
    if (isShort(r)) r = homeOrAllUsers() + "\\desktop\\";
  } else if (row == "allprograms") {
    r = platform::shellFolder(platform::csidl::CommonPrograms);
    if (isShort(r)) r = homeOrAllUsers() + "\\start menu\\programs";
  } else if (row == "allstartup") {
    r = platform::shellFolder(platform::csidl::CommonStartup);
    if (isShort(r)) {
      // The drive and the first folder of the home path: the parent of the all-users folder.
      r = env("HOMEDRIVE") + "\\" + GetField(env("HOMEPATH"), 1, "\\", true);
      if (r.size() < 5) r = "c:\\documents and settings";
      r += "\\all users\\start menu\\programs\\startup";
    }
  }

  r = lowerAZ(std::move(r));
  if (r.empty() || r.back() != '\\') r += '\\';
  return r;
}
