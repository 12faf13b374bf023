// The emulated Windows machine behind the POSIX build: a folder on the host (the root) that
// holds the machine's drives, its registry file and its process log, plus the machine's
// environment, shell folders and clocks. Defaults follow a current Windows; tests override any
// value and can make the shell-folder service fail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform::posix {

class RegistryStore;

class Machine {
public:
  // The one machine of this process. Its root is QUILLFERN_ROOT, or, when that is unset,
  // "$XDG_DATA_HOME/quillfern/machine" (XDG_DATA_HOME defaulting to ~/.local/share).
  static Machine& instance();

  // The root the process environment names, as instance() takes it on first use.
  static std::filesystem::path rootFromEnvironment();

  // The machine, ready for use: the first call in a process lays out the default folders and the
  // registry file of its root when they are missing (reset() does so at once). Every platform call
  // goes through here, so a fresh root looks like a real machine; a folder removed later stays
  // removed.
  static Machine& ready();

  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // Moves the machine to another root and restores every default value (tests start here).
  void reset(const std::filesystem::path& root);
  const std::filesystem::path& root() const { return root_; }

  // The registry of this machine, kept in <root>/registry.reg.
  RegistryStore& registry() { return *registry_; }

  // Windows path text -> host path. "X:\a\\b" is <root>/x/a/b; runs of backslashes (and
  // slashes) are one separator; every existing component is found case-insensitively (A-Z),
  // missing ones keep the case given. Text that starts with "/" is a host path already
  // (backslashes become slashes). Paths without a drive are taken from the current folder
  // ("\x" from the root of its drive, "X:a" from the current folder when it is on drive X).
  // "." and ".." are resolved in the text and never climb above the drive folder; "\\server\share"
  // is <root>/unc/server/share. Text after a zero byte is ignored, as by the system calls.
  std::filesystem::path hostPath(const std::string& windowsPath) const;

  // The current folder, as Windows path text. The platform's operation that sets the current
  // folder also changes the process's real current directory to the mapped host folder: the
  // unzip library is a separate shared object that knows nothing of this machine and extracts
  // into the real current directory, on both builds.
  const std::string& currentDirectory() const { return currentDirectory_; }
  void setCurrentDirectory(const std::string& windowsPath) { currentDirectory_ = windowsPath; }

  // Environment variables: names compared case-insensitively, as on Windows.
  std::optional<std::string> environment(const std::string& name) const;
  void setEnvironment(const std::string& name, const std::string& value);
  void unsetEnvironment(const std::string& name);

  // Shell folders by CSIDL number.
  std::optional<std::string> shellFolder(int csidl) const;
  void setShellFolder(int csidl, const std::string& windowsPath);
  void removeShellFolder(int csidl);
  void setShellFoldersFail(bool fail) { shellFoldersFail_ = fail; }
  bool shellFoldersFail() const { return shellFoldersFail_; }

  // The Windows directory call: path and the character count it reports (0: the call failed).
  void setWindowsDirectory(const std::string& path, std::uint32_t written);
  std::pair<std::string, std::uint32_t> windowsDirectory() const;

  // The temporary-files path; nothing makes the size query report 0 (a failed call).
  void setTempPath(std::optional<std::string> path) { tempPath_ = std::move(path); }
  const std::optional<std::string>& tempPath() const { return tempPath_; }

  // The tick counter; by default milliseconds of a steady host clock, wrapping at 2^32.
  void setTickSource(std::function<std::uint32_t()> source) { tickSource_ = std::move(source); }
  std::uint32_t tickCount() const;

  // System colours (0x00BBGGRR) by index; defaults are those of a current Windows.
  void setSystemColor(int index, std::uint32_t rgb) { systemColors_[index] = rgb; }
  std::uint32_t systemColor(int index) const;

  // The program's own path as the system would report it (Windows or host path text).
  void setProgramPath(const std::string& path) { programPath_ = path; }
  const std::string& programPath() const { return programPath_; }

  // Creates the folders of the default layout (Windows, system, temp, Program Files, the
  // profile and the all-users folders) that do not exist yet.
  void createDefaultFolders() const;

private:
  Machine();
  void restoreDefaults();

  struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  std::filesystem::path root_;
  std::string currentDirectory_;
  std::map<std::string, std::string, NoCase> environment_;
  std::map<int, std::string> shellFolders_;
  bool shellFoldersFail_{false};
  std::string windowsDirectory_;
  std::uint32_t windowsDirectoryWritten_{0};
  std::optional<std::string> tempPath_;
  std::function<std::uint32_t()> tickSource_;
  std::map<int, std::uint32_t> systemColors_;
  std::string programPath_;
  std::unique_ptr<RegistryStore> registry_;
  bool prepared_{false};
};

} // namespace platform::posix
