// Loading a shared object of the host and finding its entries by name.
#include "platform/DynamicLibrary.h"

#include "platform/posix/Machine.h"

#include <dlfcn.h>

namespace platform {

struct DynamicLibrary::Impl {
  void* handle{nullptr};
  ~Impl() {
    if (handle) dlclose(handle);
  }
};

DynamicLibrary::DynamicLibrary() = default;
DynamicLibrary::DynamicLibrary(DynamicLibrary&&) noexcept = default;
DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&&) noexcept = default;
DynamicLibrary::~DynamicLibrary() = default;

DynamicLibrary DynamicLibrary::load(const std::string& path) {
  DynamicLibrary library;
  std::filesystem::path host = posix::Machine::ready().hostPath(path);
  // A name without a slash would make the loader search its own paths: always give a path.
  if (!host.has_parent_path()) host = std::filesystem::path(".") / host;
  void* handle = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    library.error_ = why ? why : ("Cannot load \"" + path + "\"");
    return library;
  }
  library.impl_ = std::make_unique<Impl>();
  library.impl_->handle = handle;
  return library;
}

bool DynamicLibrary::isLoaded() const { return impl_ != nullptr; }

void* DynamicLibrary::entry(unsigned, const std::string& name) const {
  if (!impl_) return nullptr;
  return dlsym(impl_->handle, name.c_str());
}

} // namespace platform
