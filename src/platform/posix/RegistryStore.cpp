// The emulated registry and its REGEDIT4 file: reading (tolerant of hand edits and damage),
// writing (whole file, atomically), and the key and value operations.
#include "platform/posix/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

struct RootName {
  RegRoot root;
  const char* name;
  const char* shortName;
};

// In the order the file lists them.
constexpr RootName kRoots[] = {
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegRoot::Users, "HKEY_USERS", "HKU"},
    {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

// The longest key name the system accepts.
constexpr std::size_t kMaxKeyNameLength = 255;

std::optional<RegRoot> rootByName(std::string_view name) {
  for (const RootName& entry : kRoots)
    if (equalNoCase(name, entry.name) || equalNoCase(name, entry.shortName)) return entry.root;
  return std::nullopt;
}

bool isKnownRoot(RegRoot root) {
  for (const RootName& entry : kRoots)
    if (entry.root == root) return true;
  return false;
}

// The system reads names and text as zero-terminated strings.
std::string_view upToZero(const std::string& text) { return std::string_view(text.c_str()); }

bool breaksLine(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// The components of a key path; nothing when a component cannot be a key name (too long, or a
// line break the file could not hold).
std::optional<std::vector<std::string>> splitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t end = path.find('\\', i);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(i, end - i);
    if (part.size() > kMaxKeyNameLength || breaksLine(part)) return std::nullopt;
    if (!part.empty()) parts.emplace_back(part);
    i = end + 1;
  }
  return parts;
}

std::string_view trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

// A quoted text starting at text[pos] == '"', with \\ and \" escaped; a backslash before any
// other character stands for itself. Gives the text and the position after the closing quote.
std::optional<std::pair<std::string, std::size_t>> readQuoted(std::string_view text,
                                                              std::size_t pos) {
  std::string out;
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      out += text[++i];
    } else if (c == '"') {
      return std::make_pair(std::move(out), i + 1);
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

std::string quotedText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> parseDword(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    int digit = hexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

// "41,42,00": the bytes of a string stored in hex form, up to its terminating zero.
std::optional<std::string> parseHexString(std::string_view list) {
  std::string bytes;
  std::size_t i = 0;
  while (i < list.size()) {
    std::size_t end = list.find(',', i);
    if (end == std::string_view::npos) end = list.size();
    std::string_view item = trim(list.substr(i, end - i));
    if (item.size() != 2 || hexDigit(item[0]) < 0 || hexDigit(item[1]) < 0) return std::nullopt;
    bytes += static_cast<char>(hexDigit(item[0]) * 16 + hexDigit(item[1]));
    i = end + 1;
  }
  return std::string(bytes.c_str());
}

std::string hexString(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "hex(1):";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
    out += ',';
  }
  return out + "00";
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = text.find('\n', i);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(i, end - i));
    i = end + 1;
  }
  return lines;
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> readAll(int fd) {
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

// Holds an exclusive lock on a file beside the registry for a read-change-write cycle, so that
// a second process cannot slip its own rewrite in between. Without a lock file (a read-only
// folder) the cycle runs unlocked: a lost race is better than a registry that cannot change.
class FileLock {
public:
  explicit FileLock(const fs::path& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

private:
  int fd_{-1};
};

} // namespace

RegistryStore::RegistryStore(fs::path file) : file_(std::move(file)) {
  for (const RootName& entry : kRoots) roots_[entry.root];
}

RegistryStore::~RegistryStore() = default;

// Reads the file when it differs from the version in memory. False only when there is no file.
bool RegistryStore::reload() {
  int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // Any other failure keeps the registry in memory; the next call tries again.
    return errno != ENOENT;
  }
  struct stat info {};
  std::optional<std::string> text;
  if (::fstat(fd, &info) == 0) {
    Stamp stamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                static_cast<std::uint64_t>(info.st_size),
                static_cast<std::int64_t>(info.st_mtim.tv_sec),
                static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
    if (loaded_ && *loaded_ == stamp) {
      ::close(fd);
      return true;
    }
    text = readAll(fd);
    if (text) {
      roots_ = parse(*text);
      loaded_ = stamp;
    }
  }
  ::close(fd);
  return true;
}

void RegistryStore::createDefault() {
  roots_ = defaults();
  if (!persist()) loaded_.reset();
}

void RegistryStore::refresh() {
  if (reload()) return;
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  FileLock lock(lockFile());
  if (!reload()) createDefault(); // another process may have written it meanwhile
}

fs::path RegistryStore::lockFile() const { return fs::path(file_.string() + ".lock"); }

template <class Edit> bool RegistryStore::modify(Edit edit) {
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  FileLock lock(lockFile());
  if (!reload()) createDefault();
  switch (edit()) {
  case Change::Failed:
    return false;
  case Change::None:
    return true;
  case Change::Done:
    break;
  }
  if (persist()) return true;
  loaded_.reset(); // the file still holds the registry before the change: read it again
  return false;
}

RegistryStore::Key* RegistryStore::find(RegRoot root, const std::vector<std::string>& path) {
  auto rootIt = roots_.find(root);
  if (rootIt == roots_.end()) return nullptr;
  Key* key = &rootIt->second;
  for (const std::string& part : path) {
    auto it = key->subkeys.find(part);
    if (it == key->subkeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

namespace {

template <class KeyT> KeyT* createPath(KeyT& top, const std::vector<std::string>& path) {
  KeyT* key = &top;
  for (const std::string& part : path) {
    auto it = key->subkeys.find(part);
    if (it == key->subkeys.end()) it = key->subkeys.emplace(part, std::make_unique<KeyT>()).first;
    key = it->second.get();
  }
  return key;
}

template <class KeyT> bool removePath(KeyT& top, const std::vector<std::string>& path) {
  if (path.empty()) return false;
  KeyT* parent = &top;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    auto it = parent->subkeys.find(path[i]);
    if (it == parent->subkeys.end()) return false;
    parent = it->second.get();
  }
  return parent->subkeys.erase(path.back()) > 0;
}

} // namespace

bool RegistryStore::keyExists(RegRoot root, const std::string& path) {
  refresh();
  auto parts = splitKeyPath(upToZero(path));
  return parts && find(root, *parts) != nullptr;
}

bool RegistryStore::createKey(RegRoot root, const std::string& path) {
  auto parts = splitKeyPath(upToZero(path));
  if (!parts || !isKnownRoot(root)) return false;
  return modify([&] {
    if (find(root, *parts)) return Change::None;
    createPath(roots_[root], *parts);
    return Change::Done;
  });
}

std::vector<std::string> RegistryStore::subkeys(RegRoot root, const std::string& path) {
  refresh();
  std::vector<std::string> names;
  auto parts = splitKeyPath(upToZero(path));
  if (const Key* key = parts ? find(root, *parts) : nullptr)
    for (const auto& entry : key->subkeys) names.push_back(entry.first);
  return names;
}

const RegistryStore::Value* RegistryStore::findValue(RegRoot root, const std::string& path,
                                                     const std::string& name) {
  auto parts = splitKeyPath(upToZero(path));
  const Key* key = parts ? find(root, *parts) : nullptr;
  if (!key) return nullptr;
  auto it = key->values.find(std::string(upToZero(name)));
  return it == key->values.end() ? nullptr : &it->second;
}

std::optional<std::string> RegistryStore::readString(RegRoot root, const std::string& path,
                                                     const std::string& name) {
  refresh();
  const Value* value = findValue(root, path, name);
  if (!value || value->isDword) return std::nullopt;
  return value->text;
}

std::optional<std::uint32_t> RegistryStore::readDword(RegRoot root, const std::string& path,
                                                      const std::string& name) {
  refresh();
  const Value* value = findValue(root, path, name);
  if (!value || !value->isDword) return std::nullopt;
  return value->number;
}

namespace {

template <class KeyT, class ValueT>
void setValue(KeyT& key, const std::string& name, ValueT value) {
  auto it = key.values.find(name);
  if (it != key.values.end())
    it->second = std::move(value); // the name keeps the case it was created with
  else
    key.values.emplace(name, std::move(value));
}

} // namespace

bool RegistryStore::writeString(RegRoot root, const std::string& path, const std::string& name,
                                const std::string& value) {
  return writeValue(root, path, name, Value{false, std::string(upToZero(value)), 0});
}

bool RegistryStore::writeDword(RegRoot root, const std::string& path, const std::string& name,
                               std::uint32_t value) {
  return writeValue(root, path, name, Value{true, std::string(), value});
}

bool RegistryStore::writeValue(RegRoot root, const std::string& path, const std::string& name,
                               Value value) {
  auto parts = splitKeyPath(upToZero(path));
  std::string valueName(upToZero(name));
  if (!parts || breaksLine(valueName)) return false;
  return modify([&] {
    Key* key = find(root, *parts);
    if (!key) return Change::Failed;
    setValue(*key, valueName, std::move(value));
    return Change::Done;
  });
}

bool RegistryStore::deleteValue(RegRoot root, const std::string& path, const std::string& name) {
  auto parts = splitKeyPath(upToZero(path));
  if (!parts) return false;
  return modify([&] {
    Key* key = find(root, *parts);
    if (!key || key->values.erase(std::string(upToZero(name))) == 0) return Change::Failed;
    return Change::Done;
  });
}

bool RegistryStore::deleteKeyTree(RegRoot root, const std::string& path) {
  auto parts = splitKeyPath(upToZero(path));
  if (!parts || parts->empty() || !isKnownRoot(root)) return false;
  return modify([&] { return removePath(roots_[root], *parts) ? Change::Done : Change::Failed; });
}

std::string RegistryStore::text() {
  refresh();
  return format(roots_);
}

bool RegistryStore::persist() {
  std::string text = format(roots_);
  fs::path folder = file_.parent_path();
  std::string pattern = (folder / (file_.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;
  struct stat info {};
  bool ok =
      writeAll(fd, text) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0 && ::fstat(fd, &info) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(pattern.c_str(), file_.c_str()) == 0;
  if (!ok) {
    ::unlink(pattern.c_str());
    return false;
  }
  // The rename itself must survive a crash too.
  if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  loaded_ = Stamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                  static_cast<std::uint64_t>(info.st_size),
                  static_cast<std::int64_t>(info.st_mtim.tv_sec),
                  static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
  return true;
}

RegistryStore::Roots RegistryStore::defaults() {
  Roots roots;
  for (const RootName& entry : kRoots) roots[entry.root];
  auto put = [&roots](RegRoot root, const std::string& path,
                      std::initializer_list<std::pair<const char*, const char*>> values) {
    Key* key = createPath(roots[root], *splitKeyPath(path));
    for (const auto& [name, text] : values) key->values[name] = Value{false, text, 0};
  };
  const std::string currentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
  put(RegRoot::LocalMachine, currentVersion,
      {{"CommonFilesDir", "C:\\Program Files\\Common Files"},
       {"ProgramFilesDir", "C:\\Program Files"},
       {"ProgramFilesDir (x86)", "C:\\Program Files (x86)"},
       {"ProgramW6432Dir", "C:\\Program Files"}});
  put(RegRoot::LocalMachine, currentVersion + "\\Uninstall", {});
  put(RegRoot::LocalMachine, currentVersion + "\\Explorer\\Shell Folders",
      {{"Common Desktop", "C:\\Users\\Public\\Desktop"},
       {"Common Programs", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
       {"Common Start Menu", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
       {"Common Startup", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"}});
  put(RegRoot::CurrentUser, currentVersion + "\\Explorer\\Shell Folders",
      {{"AppData", "C:\\Users\\User\\AppData\\Roaming"},
       {"Desktop", "C:\\Users\\User\\Desktop"},
       {"Favorites", "C:\\Users\\User\\Favorites"},
       {"Personal", "C:\\Users\\User\\Documents"},
       {"Programs", "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
       {"Start Menu", "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
       {"Startup",
        "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"}});
  put(RegRoot::CurrentUser, "Control Panel\\Desktop", {{"ScreenSaveActive", "1"}});
  return roots;
}

RegistryStore::Roots RegistryStore::parse(const std::string& text) {
  Roots roots;
  for (const RootName& entry : kRoots) roots[entry.root];
  std::vector<std::string_view> lines = splitLines(text);
  Key* current = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = trim(lines[i]);
    if (line.empty() || line[0] == ';') continue;

    if (line[0] == '[') {
      current = nullptr;
      if (line.size() < 2 || line.back() != ']') continue;
      std::string_view inner = line.substr(1, line.size() - 2);
      bool remove = !inner.empty() && inner[0] == '-';
      if (remove) inner.remove_prefix(1);
      std::size_t slash = inner.find('\\');
      std::optional<RegRoot> root = rootByName(inner.substr(0, slash));
      std::optional<std::vector<std::string>> parts =
          splitKeyPath(slash == std::string_view::npos ? std::string_view() : inner.substr(slash));
      if (!root || !parts) continue;
      if (remove)
        removePath(roots[*root], *parts);
      else
        current = createPath(roots[*root], *parts);
      continue;
    }
    if (!current) continue;

    // A value line: "name"=data or @=data.
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      auto parsed = readQuoted(line, 0);
      if (!parsed) continue;
      name = std::string(upToZero(parsed->first));
      pos = parsed->second;
    } else {
      continue;
    }
    std::string_view rest = trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=') continue;
    std::string_view data = trim(rest.substr(1));

    if (startsWithNoCase(data, "hex")) {
      // Hex data may go on over lines that end in a backslash.
      std::string joined(data);
      while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
        joined.pop_back();
        joined += trim(lines[++i]);
      }
      if (startsWithNoCase(joined, "hex(1):")) {
        if (auto textValue = parseHexString(std::string_view(joined).substr(7)))
          current->values[name] = Value{false, *textValue, 0};
      }
      continue; // other binary types are not kept
    }
    if (data == "-") {
      current->values.erase(name);
    } else if (!data.empty() && data[0] == '"') {
      if (auto parsed = readQuoted(data, 0))
        current->values[name] = Value{false, std::string(upToZero(parsed->first)), 0};
    } else if (startsWithNoCase(data, "dword:")) {
      if (auto number = parseDword(data.substr(6)))
        current->values[name] = Value{true, {}, *number};
    }
  }
  return roots;
}

std::string RegistryStore::format(const Roots& roots) {
  std::string out = "REGEDIT4\n\n";
  auto writeKey = [&out](auto& self, const std::string& fullName, const Key& key,
                         bool isRoot) -> void {
    // A root appears only for its own values; every other key appears, empty or not, so that
    // empty keys survive the round trip.
    if (!isRoot || !key.values.empty()) {
      out += "[" + fullName + "]\n";
      for (const auto& [name, value] : key.values) {
        out += name.empty() ? std::string("@") : quotedText(name);
        out += '=';
        if (value.isDword) {
          char digits[16];
          std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.number));
          out += digits;
        } else {
          out += breaksLine(value.text) ? hexString(value.text) : quotedText(value.text);
        }
        out += '\n';
      }
      out += '\n';
    }
    for (const auto& [name, sub] : key.subkeys) self(self, fullName + "\\" + name, *sub, false);
  };
  for (const RootName& entry : kRoots) {
    auto it = roots.find(entry.root);
    if (it != roots.end()) writeKey(writeKey, entry.name, it->second, true);
  }
  return out;
}

} // namespace platform::posix
