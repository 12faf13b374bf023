// Registry keys with full access through the Windows API.
#include "platform/Registry.h"

#include <windows.h>

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

RegKey RegKey::open(RegRoot root, const std::string& path, bool create) {
  HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
  HKEY key{};
  LONG status = create ? RegCreateKeyExA(rootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr)
                       : RegOpenKeyExA(rootKey, path.c_str(), 0, KEY_ALL_ACCESS, &key);
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

} // namespace platform
