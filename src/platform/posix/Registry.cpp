// Registry keys of the emulated machine: a key is its root and path in the machine's registry
// store, so every call sees what other processes have written since.
#include "platform/Registry.h"

#include "platform/posix/Machine.h"
#include "platform/posix/RegistryStore.h"

namespace platform {

using posix::Machine;

struct RegKey::Impl {
  RegRoot root;
  std::string path;
};

RegKey::RegKey() = default;
RegKey::RegKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;
RegKey::~RegKey() = default;

RegKey RegKey::open(RegRoot root, const std::string& path, bool create) {
  posix::RegistryStore& store = Machine::ready().registry();
  bool opened = create ? store.createKey(root, path) : store.keyExists(root, path);
  if (!opened) return RegKey();
  return RegKey(std::make_unique<Impl>(Impl{root, path}));
}

bool RegKey::isOpen() const { return impl_ != nullptr; }

std::optional<std::string> RegKey::readString(const std::string& name) const {
  if (!isOpen()) return std::nullopt;
  return Machine::ready().registry().readString(impl_->root, impl_->path, name);
}

std::optional<std::uint32_t> RegKey::readDword(const std::string& name) const {
  if (!isOpen()) return std::nullopt;
  return Machine::ready().registry().readDword(impl_->root, impl_->path, name);
}

bool RegKey::writeString(const std::string& name, const std::string& value) {
  if (!isOpen()) return false;
  return Machine::ready().registry().writeString(impl_->root, impl_->path, name, value);
}

bool RegKey::writeDword(const std::string& name, std::uint32_t value) {
  if (!isOpen()) return false;
  return Machine::ready().registry().writeDword(impl_->root, impl_->path, name, value);
}

bool RegKey::deleteKeyTree(RegRoot root, const std::string& path) {
  return Machine::ready().registry().deleteKeyTree(root, path);
}

} // namespace platform
