// The Windows shell as the installer uses it: the COM apartment of the program's one thread,
// shortcut (.lnk) files and deletion through the shell into the recycle bin.
#pragma once

#include <memory>
#include <string>

namespace platform {

// Keeps the calling thread in a single-threaded COM apartment while it lives; the program entry
// makes one before any shortcut is made. On POSIX it only records that an apartment is open.
class ComApartment {
public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // The thread is in the apartment (it may have been already).
  bool entered() const { return entered_; }

private:
  bool entered_{false};
};

// One shell link object: its target path and working folder, saved as a .lnk file as often as
// needed. Moves, never copies.
class ShellLink {
public:
  ShellLink();
  ShellLink(ShellLink&&) noexcept;
  ShellLink& operator=(ShellLink&&) noexcept;
  ~ShellLink();

  // A new link object. It is not isValid() when the system cannot make one (for example when
  // the thread is in no COM apartment); error() then tells why.
  static ShellLink create();

  bool isValid() const;
  const std::string& error() const { return error_; }

  // Set the target path and the working folder; false when the object refuses the text.
  bool setPath(const std::string& target);
  bool setWorkingDirectory(const std::string& folder);

  // Writes the link into the file `linkPath`, replacing one that exists; false when it cannot
  // be written (a missing folder, say).
  bool save(const std::string& linkPath) const;

  struct Impl;

private:
  std::unique_ptr<Impl> impl_;
  std::string error_;
};

// One link object with only its path and working folder set, saved once as `linkPath`; false
// when the object cannot be made or any step fails.
bool createShellLink(const std::string& linkPath, const std::string& targetPath,
                     const std::string& workingDirectory);

// Moves a file or a folder with all its content into the recycle bin, asking nothing and showing
// no progress. False when it is missing or cannot be moved; empty text, a drive or share root and
// text with wildcards are refused, never expanded.
bool shellDeleteToRecycleBin(const std::string& path);

} // namespace platform
