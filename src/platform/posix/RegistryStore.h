// The emulated machine's registry: a tree of keys with string and number values, kept in one
// REGEDIT4 text file that every process using the same machine root reads and rewrites.
#pragma once

#include "platform/Registry.h"
#include "platform/posix/Fold.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::posix {

// Keys are named by a root and a path of components separated by backslashes (empty components
// are ignored); key and value names compare without regard to A-Z case and keep the case they
// were created with. Every call first reads the file again when another writer has replaced it
// since it was last read; every change rewrites the whole file atomically (a reader sees the old
// file or the new one, never a part), under a lock so that two processes do not lose each
// other's changes.
class RegistryStore {
public:
  explicit RegistryStore(std::filesystem::path file);
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  const std::filesystem::path& file() const { return file_; }

  // Reads the file when it is new or changed; writes the default registry when there is none.
  void refresh();

  bool keyExists(RegRoot root, const std::string& path);
  // Creates the key and its missing parents; true when the key exists afterwards.
  bool createKey(RegRoot root, const std::string& path);
  // The names of the key's subkeys in A-Z-folded order; empty when the key is missing.
  std::vector<std::string> subkeys(RegRoot root, const std::string& path);

  // Reads give nothing when the key or the value is missing or the value has the other type.
  std::optional<std::string> readString(RegRoot root, const std::string& path,
                                        const std::string& name);
  std::optional<std::uint32_t> readDword(RegRoot root, const std::string& path,
                                         const std::string& name);

  // Writes into an existing key (false when it is missing or the name cannot be stored). The
  // name "" is the key's default value. Text after a zero byte is not stored, as by the system.
  bool writeString(RegRoot root, const std::string& path, const std::string& name,
                   const std::string& value);
  bool writeDword(RegRoot root, const std::string& path, const std::string& name,
                  std::uint32_t value);

  bool deleteValue(RegRoot root, const std::string& path, const std::string& name);
  // Deletes the key with all its subkeys and values. A root itself (an empty path) is refused:
  // wiping a whole hive is never what a caller means.
  bool deleteKeyTree(RegRoot root, const std::string& path);

  // The REGEDIT4 text of the registry as it is now.
  std::string text();

private:
  struct Value {
    bool isDword{false};
    std::string text;
    std::uint32_t number{0};
  };
  struct Key {
    std::map<std::string, Value, LessNoCase> values;
    std::map<std::string, std::unique_ptr<Key>, LessNoCase> subkeys;
  };
  using Roots = std::map<RegRoot, Key>;

  // What identifies one version of the file on disk.
  struct Stamp {
    std::uint64_t device{0}, inode{0}, size{0};
    std::int64_t seconds{0}, nanoseconds{0};
    bool operator==(const Stamp&) const = default;
  };

  enum class Change { Failed, None, Done };
  template <class Edit> bool modify(Edit edit);

  bool reload();
  void createDefault();
  std::filesystem::path lockFile() const;
  Key* find(RegRoot root, const std::vector<std::string>& path);
  // The value `name` of key `path`, or nullptr when the key or the value is missing.
  const Value* findValue(RegRoot root, const std::string& path, const std::string& name);
  // Stores `value` as `name` of the existing key `path`.
  bool writeValue(RegRoot root, const std::string& path, const std::string& name, Value value);
  bool persist();
  static Roots defaults();
  static Roots parse(const std::string& text);
  static std::string format(const Roots& roots);

  std::filesystem::path file_;
  Roots roots_;
  std::optional<Stamp> loaded_; // the version in memory; nothing forces the next read
};

} // namespace platform::posix
