// Shell links and the recycle bin of the emulated machine: links are real .lnk files, deleted
// items move into C:\$Recycle.Bin with a line in its index naming where they came from.
#include "platform/Shell.h"

#include "platform/Files.h"
#include "platform/PathRules.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/AttributeStore.h"
#include "platform/posix/LineFields.h"
#include "platform/posix/Machine.h"
#include "platform/posix/ShellLinkFile.h"
#include "platform/posix/WindowsPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iterator>
#include <string_view>

namespace platform {

using posix::Machine;

namespace fs = std::filesystem;

namespace {

// Apartments entered by this thread and not yet left; link objects need one, as on Windows.
thread_local int apartments = 0;

// FILETIME (100 ns since 1601) of a host time.
std::uint64_t fileTime(const timespec& time) {
  constexpr std::int64_t kEpochDifference = 11644473600; // seconds from 1601 to 1970
  std::int64_t seconds = time.tv_sec + kEpochDifference;
  if (seconds < 0) return 0;
  return static_cast<std::uint64_t>(seconds) * 10000000u +
         static_cast<std::uint64_t>(time.tv_nsec / 100);
}

// Moves `from` to `to` unless something is there already; false with errno EEXIST then.
bool renameNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: check first (a lost race only happens between processes).
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::size_t componentCount(const fs::path& relative) {
  return static_cast<std::size_t>(std::distance(relative.begin(), relative.end()));
}

// The recycle bin's folder, made (hidden and system, as on Windows) when missing.
std::optional<fs::path> recycleBin(Machine& machine) {
  fs::path bin = machine.hostPath("C:\\$Recycle.Bin");
  struct stat info {};
  if (::stat(bin.c_str(), &info) == 0)
    return S_ISDIR(info.st_mode) ? std::optional(bin) : std::nullopt;
  if (::mkdir(bin.c_str(), 0777) != 0) return std::nullopt;
  posix::writeAttributes(bin, fileattr::Hidden | fileattr::System);
  return bin;
}

void appendIndex(const fs::path& bin, const std::string& name, const std::string& original) {
  std::string line = posix::joinFields({name, original}) + "\n";
  int fd = ::open((bin / "index.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // One write: lines of two processes never interleave.
  [[maybe_unused]] ssize_t written = ::write(fd, line.data(), line.size());
  ::close(fd);
}

} // namespace

ComApartment::ComApartment() : entered_(true) { ++apartments; }

ComApartment::~ComApartment() { --apartments; }

struct ShellLink::Impl {
  std::string target;
  std::string workingDirectory;
};

ShellLink::ShellLink() = default;
ShellLink::ShellLink(ShellLink&&) noexcept = default;
ShellLink& ShellLink::operator=(ShellLink&&) noexcept = default;
ShellLink::~ShellLink() = default;

ShellLink ShellLink::create() {
  ShellLink link;
  Machine::ready();
  if (apartments <= 0) {
    link.error_ = "CoInitialize has not been called.";
    return link;
  }
  link.impl_ = std::make_unique<Impl>();
  return link;
}

bool ShellLink::isValid() const { return impl_ != nullptr; }

bool ShellLink::setPath(const std::string& target) {
  if (!impl_ || std::string_view(target.c_str()).empty()) return false;
  // The shell keeps a full path; a relative one is taken from the current folder.
  std::string text = target.c_str();
  bool full = posix::isFullWindowsPath(text) || text.front() == '/';
  impl_->target = full ? text : posix::fullPathName(text, Machine::ready().currentDirectory());
  return true;
}

bool ShellLink::setWorkingDirectory(const std::string& folder) {
  if (!impl_) return false;
  impl_->workingDirectory = folder.c_str();
  return true;
}

bool ShellLink::save(const std::string& linkPath) const {
  if (!impl_ || std::string_view(linkPath.c_str()).empty()) return false;
  Machine& machine = Machine::ready();
  posix::ShellLinkFields fields{impl_->target, impl_->workingDirectory};
  if (!impl_->target.empty()) {
    fs::path target = machine.hostPath(impl_->target);
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
      fields.targetAttributes = fileAttributes(impl_->target).value_or(0);
      fields.targetSize = static_cast<std::uint32_t>(info.st_size);
      fields.targetWriteTime = fileTime(info.st_mtim);
    }
  }
  std::optional<std::string> bytes = posix::encodeShellLink(fields);
  fs::path file = machine.hostPath(linkPath);
  struct stat existing {};
  if (!bytes || (::stat(file.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))) return false;
  return posix::writeFileAtomically(file, *bytes);
}

bool shellDeleteToRecycleBin(const std::string& path) {
  if (hasWildcard(path) || namesRootOrNothing(path)) return false;
  Machine& machine = Machine::ready();
  fs::path item = machine.hostPath(path).lexically_normal();
  struct stat info {};
  if (item.empty() || ::lstat(item.c_str(), &info) != 0) return false;
  // Only items of this machine, below a drive or share: the bin lives on drive C of the root.
  fs::path relative = item.lexically_relative(machine.root().lexically_normal());
  std::string top = relative.empty() ? std::string() : relative.begin()->string();
  if (relative.empty() || top == ".." || top == "." ||
      componentCount(relative) < (top == "unc" ? 4u : 2u))
    return false;
  std::optional<fs::path> bin = recycleBin(machine);
  if (!bin) return false;
  fs::path binNormal = bin->lexically_normal();
  std::string binText = binNormal.string();
  std::string itemText = item.string();
  if (binText == itemText || binText.starts_with(itemText + "/")) return false;

  std::string name = item.filename().string();
  for (int n = 1; n < 100000; ++n) {
    std::string candidate = n == 1 ? name : name + " (" + std::to_string(n) + ")";
    fs::path destination = binNormal / candidate;
    if (renameNoReplace(item, destination)) {
      posix::moveAttributes(item, destination);
      appendIndex(binNormal, candidate, posix::fullPathName(path, machine.currentDirectory()));
      return true;
    }
    if (errno != EEXIST && errno != ENOTEMPTY) return false;
  }
  return false;
}

} // namespace platform
