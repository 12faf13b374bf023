// The library's file operations on POSIX hosts.
#include "HostFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace unzdll::host {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string join(const std::string& folder, std::string_view part) {
  if (folder.empty()) return std::string(part);
  std::string path = folder;
  if (path.back() != '/') path += '/';
  path += part;
  return path;
}

// The name of an entry of `folder` equal to `part` but for the case of A-Z; empty when none.
std::string findNoCase(const std::string& folder, std::string_view part) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (equalsNoCase(entry->d_name, part)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

std::string errorText(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

unsigned counter = static_cast<unsigned>(std::time(nullptr)) ^ static_cast<unsigned>(getpid());

} // namespace

std::string archivePath(const std::string& text) {
  std::string path = text;
  for (char& c : path)
    if (c == '\\') c = '/';
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!drive) return path;
  // A path of the emulated machine: <root>/<drive letter>/<parts>, parts found without regard to
  // the case of A-Z.
  std::string root;
  if (const char* value = std::getenv("QUILLFERN_ROOT"); value && *value) {
    root = value;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    root = std::string(data) + "/quillfern/machine";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    root = std::string(home) + "/.local/share/quillfern/machine";
  } else {
    return path;
  }
  std::string host = root + '/' + lower(path[0]);
  std::size_t start = 2;
  while (start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string_view part(path.data() + start, end - start);
    if (!part.empty() && part != ".") {
      std::string real = findNoCase(host, part);
      host = join(host, real.empty() ? part : std::string_view(real));
    }
    start = end + 1;
  }
  return host;
}

bool identify(const std::string& path, Identity& identity) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.time = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
  identity.node =
      static_cast<std::uint64_t>(info.st_ino) ^ (static_cast<std::uint64_t>(info.st_dev) << 32);
  return true;
}

bool ReadFile::open(const std::string& path) {
  close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

void ReadFile::close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
  size_ = 0;
}

bool ReadFile::isOpen() const { return handle_ >= 0; }

std::size_t ReadFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  std::size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count && handle_ >= 0) {
    ssize_t got = ::pread(static_cast<int>(handle_), out + done, count - done,
                          static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

bool enterFolder(std::string& folder, std::string_view part, std::string& error) {
  std::string path = join(folder, part);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) {
      error = "a file stands where a folder is needed: " + path;
      return false;
    }
    folder = std::move(path);
    return true;
  }
  if (std::string real = findNoCase(folder, part); !real.empty()) {
    std::string other = join(folder, real);
    if (::stat(other.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      folder = std::move(other);
      return true;
    }
  }
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    error = errorText("cannot create folder", path);
    return false;
  }
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = "cannot create folder " + path;
    return false;
  }
  folder = std::move(path);
  return true;
}

bool exists(const std::string& path, bool& isFolder) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  isFolder = S_ISDIR(info.st_mode);
  return true;
}

bool WriteFile::create(const std::string& folder, std::string& error) {
  discard();
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "~qf%08x.tmp", counter++);
    std::string path = join(folder, name);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      temporary_ = std::move(path);
      return true;
    }
    if (errno != EEXIST) {
      error = errorText("cannot create file", path);
      return false;
    }
  }
  error = "cannot find a free temporary name in " + (folder.empty() ? "." : folder);
  return false;
}

bool WriteFile::createNew(const std::string& path, bool& taken, std::string& error) {
  discard();
  taken = false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    taken = errno == EEXIST;
    error = errorText("cannot create file", path);
    return false;
  }
  handle_ = fd;
  temporary_ = path;
  inPlace_ = true;
  return true;
}

bool WriteFile::write(const void* data, std::size_t count, std::string& error) {
  const auto* bytes = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t put = ::write(static_cast<int>(handle_), bytes, count);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = errorText("cannot write", temporary_);
      return false;
    }
    bytes += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

namespace {

// The local time of the start of a DOS date and hour (time bits 11 and up). mktime reads the
// time zone file again on every call, and the entries of one archive mostly share a few hours,
// so the last hour asked for is kept. Clock changes fall on whole hours.
std::time_t hourStart(std::uint32_t dateAndHour) {
  static std::uint32_t keptHour = 0;
  static std::time_t keptStart = static_cast<std::time_t>(-1);
  if (keptStart != static_cast<std::time_t>(-1) && dateAndHour == keptHour) return keptStart;
  std::tm local{};
  local.tm_hour = static_cast<int>(dateAndHour & 0x1F);
  local.tm_mday = static_cast<int>((dateAndHour >> 5) & 0x1F);
  local.tm_mon = static_cast<int>((dateAndHour >> 10) & 0x0F) - 1;
  local.tm_year = static_cast<int>((dateAndHour >> 14) & 0x7F) + 80;
  local.tm_isdst = -1;
  if (local.tm_mday < 1 || local.tm_mon < 0 || local.tm_mon > 11) return -1;
  const std::time_t start = std::mktime(&local);
  if (start != static_cast<std::time_t>(-1)) {
    keptHour = dateAndHour;
    keptStart = start;
  }
  return start;
}

} // namespace

void WriteFile::setTime(std::uint32_t dosTimeDate) {
  const std::time_t start = hourStart(dosTimeDate >> 11);
  if (start == static_cast<std::time_t>(-1)) return;
  const std::time_t when = start + static_cast<std::time_t>((dosTimeDate >> 5) & 0x3F) * 60 +
                           static_cast<std::time_t>(dosTimeDate & 0x1F) * 2;
  struct timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
  ::futimens(static_cast<int>(handle_), times);
}

bool WriteFile::commit(const std::string& target, std::string& error) {
  if (::close(static_cast<int>(handle_)) != 0) {
    handle_ = -1;
    error = errorText("cannot write", temporary_);
    discard();
    return false;
  }
  handle_ = -1;
  if (inPlace_) {
    temporary_.clear();
    inPlace_ = false;
    return true;
  }
  if (::rename(temporary_.c_str(), target.c_str()) != 0) {
    error = errorText("cannot write", target);
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void WriteFile::discard() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  inPlace_ = false;
}

} // namespace unzdll::host
