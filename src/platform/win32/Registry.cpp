// Registry keys with full access through the Windows API.
#include "platform/Registry.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace platform {

struct RegKey::Impl {
  HKEY key{};
  ~Impl() {
    if (key) RegCloseKey(key);
  }
};

RegKey::RegKey() = default;
RegKey::RegKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;
RegKey::~RegKey() = default;

namespace {

HKEY rootKey(RegRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

} // namespace

RegKey RegKey::open(RegRoot root, const std::string& path, bool create) {
  HKEY parent = rootKey(root);
  HKEY key{};
  LONG status = create ? RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr)
                       : RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return RegKey();
  auto impl = std::make_unique<Impl>();
  impl->key = key;
  return RegKey(std::move(impl));
}

bool RegKey::isOpen() const { return impl_ && impl_->key; }

std::optional<std::string> RegKey::readString(const std::string& name) const {
  if (!isOpen()) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(impl_->key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(impl_->key, name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data.data());
}

std::optional<std::uint32_t> RegKey::readDword(const std::string& name) const {
  if (!isOpen()) return std::nullopt;
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegQueryValueExA(impl_->key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return std::nullopt;
  return static_cast<std::uint32_t>(data);
}

bool RegKey::writeString(const std::string& name, const std::string& value) {
  if (!isOpen()) return false;
  // The stored text ends at its first zero, with the terminating zero counted.
  DWORD size = static_cast<DWORD>(std::strlen(value.c_str()) + 1);
  return RegSetValueExA(impl_->key, name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()), size) == ERROR_SUCCESS;
}

bool RegKey::writeDword(const std::string& name, std::uint32_t value) {
  if (!isOpen()) return false;
  DWORD data = value;
  return RegSetValueExA(impl_->key, name.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool RegKey::deleteKeyTree(RegRoot root, const std::string& path) {
  // An empty path would name the root itself, and the call would empty the whole hive.
  if (std::string_view(path.c_str()).find_first_not_of('\\') == std::string_view::npos)
    return false;
  return RegDeleteTreeA(rootKey(root), path.c_str()) == ERROR_SUCCESS;
}

} // namespace platform
