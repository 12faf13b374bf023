// The system registry: keys opened with full access, string and number values.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

enum class RegRoot : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  CurrentConfig = 0x80000005u,
};

// An open registry key. Moves, never copies; closes itself.
class RegKey {
public:
  RegKey();
  RegKey(RegKey&&) noexcept;
  RegKey& operator=(RegKey&&) noexcept;
  ~RegKey();

  // Opens `path` below `root` with full access; creates the key (and its parents) first when
  // `create` is set. The result is not open() when the key is missing or access is refused.
  static RegKey open(RegRoot root, const std::string& path, bool create);

  bool isOpen() const;

  // A string value; nothing when the key is not open or the value is missing or not a string.
  std::optional<std::string> readString(const std::string& name) const;
  // A REG_DWORD value; nothing when the key is not open or the value is missing or no DWORD.
  std::optional<std::uint32_t> readDword(const std::string& name) const;

  // Writes a REG_SZ or REG_DWORD value ("" is the key's default value); false when the key is not
  // open or the system refuses the write.
  bool writeString(const std::string& name, const std::string& value);
  bool writeDword(const std::string& name, std::uint32_t value);

  // Deletes the key `path` below `root` with all its subkeys and values; false when it is missing
  // or cannot be deleted. An empty path (the root itself) is refused, never wiped.
  static bool deleteKeyTree(RegRoot root, const std::string& path);

  struct Impl;

private:
  explicit RegKey(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A string value read through a key opened with full access and created when missing; a key that
// cannot be opened or a missing value reads as empty.
std::string readRegistryString(RegRoot root, const std::string& key, const std::string& name);

} // namespace platform
