// The emulated machine's file attributes: permission bits for read-only files, a small line
// store under the root for the rest.
#include "platform/posix/AttributeStore.h"

#include "platform/Files.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/LineFields.h"
#include "platform/posix/Machine.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSettable = fileattr::ReadOnly | fileattr::Hidden | fileattr::System |
                                    fileattr::Archive | fileattr::Temporary | fileattr::Offline |
                                    fileattr::NotContentIndexed;
constexpr std::uint32_t kNewFile = fileattr::Archive;
constexpr const char* kHeader =
    "# File attributes of this machine: bits (hex), inode, path below the root";

struct Record {
  std::uint32_t bits{0};
  std::uint64_t inode{0};
  bool operator==(const Record&) const = default;
};

using Records = std::map<std::string, Record>;

fs::path storeFile() { return Machine::instance().root() / "attributes.txt"; }

// The key of a host path: below the root it is relative ("c/Apps/x"), elsewhere absolute.
std::string keyOf(const fs::path& host) {
  fs::path normal = host.lexically_normal();
  fs::path relative = normal.lexically_relative(Machine::instance().root().lexically_normal());
  std::string text = relative.generic_string();
  if (relative.empty() || text == "." || text.starts_with("..")) return normal.generic_string();
  return text;
}

fs::path hostOf(const std::string& key) {
  if (key.starts_with("/")) return fs::path(key);
  return Machine::instance().root() / key;
}

bool below(const std::string& key, const std::string& folder) {
  return key.size() > folder.size() && key.starts_with(folder) && key[folder.size()] == '/';
}

std::optional<struct stat> statOf(const fs::path& host) {
  struct stat info {};
  if (host.empty() || ::stat(host.c_str(), &info) != 0) return std::nullopt;
  return info;
}

Records load() {
  Records records;
  std::ifstream in(storeFile(), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = splitFields(line);
    if (fields.size() != 3) continue;
    try {
      Record record{static_cast<std::uint32_t>(std::stoul(fields[0], nullptr, 16)),
                    std::stoull(fields[1])};
      records[fields[2]] = record;
    } catch (const std::exception&) {
      // A damaged line counts for nothing.
    }
  }
  return records;
}

bool save(const Records& records) {
  std::string text = std::string(kHeader) + "\n";
  for (const auto& [key, record] : records) {
    char bits[16];
    std::snprintf(bits, sizeof bits, "%08X", record.bits);
    text += joinFields({bits, std::to_string(record.inode), key}) + "\n";
  }
  return writeFileAtomically(storeFile(), text);
}

// An exclusive lock beside the store for one read-change-write cycle, so that two processes of
// the same machine do not lose each other's changes.
class StoreLock {
public:
  StoreLock()
      : fd_(::open((storeFile().string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0)
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

private:
  int fd_;
};

template <class Edit> void modify(Edit edit) {
  StoreLock lock;
  Records before = load();
  Records records = before;
  edit(records);
  for (auto it = records.begin(); it != records.end();) {
    std::optional<struct stat> info = statOf(hostOf(it->first));
    bool valid = info && static_cast<std::uint64_t>(info->st_ino) == it->second.inode;
    it = valid ? std::next(it) : records.erase(it);
  }
  if (records != before) save(records);
}

void eraseTree(Records& records, const std::string& key) {
  for (auto it = records.begin(); it != records.end();)
    it = (it->first == key || below(it->first, key)) ? records.erase(it) : std::next(it);
}

} // namespace

std::optional<std::uint32_t> storedAttributes(const fs::path& host) {
  std::optional<struct stat> info = statOf(host);
  if (!info) return std::nullopt;
  Records records = load();
  auto it = records.find(keyOf(host));
  if (it == records.end() || it->second.inode != static_cast<std::uint64_t>(info->st_ino))
    return std::nullopt;
  return it->second.bits;
}

std::optional<std::uint32_t> readAttributes(const fs::path& host) {
  std::optional<struct stat> info = statOf(host);
  if (!info) return std::nullopt;
  bool folder = S_ISDIR(info->st_mode);
  std::uint32_t bits = storedAttributes(host).value_or(folder ? 0 : kNewFile);
  if (folder) {
    bits |= fileattr::Directory;
  } else {
    bits &= ~fileattr::ReadOnly;
    if ((info->st_mode & S_IWUSR) == 0) bits |= fileattr::ReadOnly;
  }
  return bits == 0 ? fileattr::Normal : bits;
}

bool writeAttributes(const fs::path& host, std::uint32_t attributes) {
  std::optional<struct stat> info = statOf(host);
  if (!info) return false;
  std::uint32_t bits = attributes & kSettable;
  if (S_ISDIR(info->st_mode)) {
    keepAttributes(host, bits == 0 ? std::nullopt : std::optional<std::uint32_t>(bits));
    return true;
  }
  mode_t mode = info->st_mode & 07777;
  mode = (bits & fileattr::ReadOnly) ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (::chmod(host.c_str(), mode) != 0) return false;
  bits &= ~fileattr::ReadOnly;
  keepAttributes(host, bits == kNewFile ? std::nullopt : std::optional<std::uint32_t>(bits));
  return true;
}

void keepAttributes(const fs::path& host, std::optional<std::uint32_t> bits) {
  std::optional<struct stat> info = statOf(host);
  std::string key = keyOf(host);
  modify([&](Records& records) {
    if (bits && info)
      records[key] = Record{*bits, static_cast<std::uint64_t>(info->st_ino)};
    else
      records.erase(key);
  });
}

void moveAttributes(const fs::path& from, const fs::path& to) {
  std::string fromKey = keyOf(from);
  std::string toKey = keyOf(to);
  modify([&](Records& records) {
    Records moved;
    for (auto it = records.begin(); it != records.end();) {
      if (it->first == fromKey || below(it->first, fromKey)) {
        moved[toKey + it->first.substr(fromKey.size())] = it->second;
        it = records.erase(it);
      } else {
        ++it;
      }
    }
    eraseTree(records, toKey);
    records.merge(moved);
  });
}

void forgetAttributes(const fs::path& host) {
  std::string key = keyOf(host);
  modify([&](Records& records) { eraseTree(records, key); });
}

} // namespace platform::posix
