// Creating, copying, deleting and listing files of the emulated machine, its file attributes
// and its current folder, with the answers the system's calls give.
#include "platform/Files.h"

#include "platform/PathRules.h"
#include "platform/posix/AttributeStore.h"
#include "platform/posix/Machine.h"
#include "platform/posix/Wildcard.h"
#include "platform/posix/WindowsPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace platform {

using posix::Machine;

namespace fs = std::filesystem;

namespace {

// The host path of Windows path text; empty for empty text, which every call refuses.
fs::path host(const std::string& path) {
  if (std::string_view(path.c_str()).empty()) return {};
  return Machine::ready().hostPath(path);
}

std::optional<struct stat> statOf(const fs::path& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info;
}

bool readOnlyFile(const struct stat& info) {
  return !S_ISDIR(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Copies the bytes, permissions and write time of `from` into a new file beside `to`, then puts
// it in place at once: a reader never sees half a file, and a program that runs from `to` keeps
// running.
bool copyContent(const fs::path& from, const struct stat& source, const fs::path& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string pattern =
      (to.parent_path() / ("." + to.filename().string() + ".copy-XXXXXX")).string();
  int out = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    if (!writeAll(out, buffer, static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  ::close(in);
  timespec times[2] = {source.st_atim, source.st_mtim};
  ok = ok && ::fchmod(out, source.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
  ok = (::close(out) == 0) && ok;
  ok = ok && std::rename(pattern.c_str(), to.c_str()) == 0;
  if (!ok) ::unlink(pattern.c_str());
  return ok;
}

} // namespace

bool createDirectory(const std::string& path) {
  fs::path folder = host(path);
  if (folder.empty() || ::mkdir(folder.c_str(), 0777) != 0) return false;
  posix::forgetAttributes(folder);
  return true;
}

bool copyFile(const std::string& from, const std::string& to, bool failIfExists) {
  fs::path source = host(from);
  fs::path target = host(to);
  std::optional<struct stat> sourceInfo = statOf(source);
  if (target.empty() || !sourceInfo || !S_ISREG(sourceInfo->st_mode)) return false;
  if (std::optional<struct stat> existing = statOf(target)) {
    if (failIfExists || S_ISDIR(existing->st_mode)) return false;
    // The source itself: writing it would destroy what is being copied.
    if (existing->st_dev == sourceInfo->st_dev && existing->st_ino == sourceInfo->st_ino)
      return false;
    std::uint32_t attributes = posix::readAttributes(target).value_or(0);
    if (attributes & (fileattr::ReadOnly | fileattr::Hidden)) return false;
  }
  std::optional<std::uint32_t> bits = posix::storedAttributes(source);
  if (!copyContent(source, *sourceInfo, target)) return false;
  posix::keepAttributes(target, bits);
  return true;
}

std::optional<std::uint32_t> fileAttributes(const std::string& path) {
  fs::path file = host(path);
  if (file.empty()) return std::nullopt;
  return posix::readAttributes(file);
}

bool setFileAttributes(const std::string& path, std::uint32_t attributes) {
  fs::path file = host(path);
  return !file.empty() && posix::writeAttributes(file, attributes);
}

bool deleteFile(const std::string& path) {
  fs::path file = host(path);
  struct stat info {};
  if (file.empty() || ::lstat(file.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  // The host would let the owner (or root) delete it; Windows refuses a read-only file.
  if (std::optional<struct stat> target = statOf(file); target && readOnlyFile(*target))
    return false;
  if (::unlink(file.c_str()) != 0) return false;
  posix::forgetAttributes(file);
  return true;
}

std::string currentDirectory() { return Machine::ready().currentDirectory(); }

bool setCurrentDirectory(const std::string& path) {
  Machine& machine = Machine::ready();
  std::string full = posix::fullPathName(path, machine.currentDirectory());
  if (full.empty()) return false;
  fs::path folder = machine.hostPath(full);
  std::optional<struct stat> info = statOf(folder);
  if (!info || !S_ISDIR(info->st_mode)) return false;
  // The unzip library knows nothing of this machine and writes into the process's real current
  // directory, so both must move together.
  if (::chdir(folder.c_str()) != 0) return false;
  machine.setCurrentDirectory(full);
  return true;
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& mask) {
  Machine& machine = Machine::ready();
  fs::path where = machine.hostPath(folder);
  std::vector<std::string> masks = splitMasks(mask);
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(where, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    std::string name = it->path().filename().string();
    for (const std::string& one : masks) {
      if (posix::matchesMask(name, one)) {
        names.push_back(name);
        break;
      }
    }
  }
  sortNames(names);
  return names;
}

std::optional<std::uint64_t> fileSize(const std::string& path) {
  std::optional<struct stat> info = statOf(host(path));
  if (!info || !S_ISREG(info->st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info->st_size);
}

std::string nativeFilePath(const std::string& path) { return host(path).string(); }

} // namespace platform
