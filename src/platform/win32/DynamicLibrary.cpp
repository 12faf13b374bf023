// Loading a DLL and finding its entries by ordinal through the Windows API.
#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace platform {

struct DynamicLibrary::Impl {
  HMODULE module{nullptr};
  ~Impl() {
    if (module) FreeLibrary(module);
  }
};

DynamicLibrary::DynamicLibrary() = default;
DynamicLibrary::DynamicLibrary(DynamicLibrary&&) noexcept = default;
DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&&) noexcept = default;
DynamicLibrary::~DynamicLibrary() = default;

DynamicLibrary DynamicLibrary::load(const std::string& path) {
  DynamicLibrary library;
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) {
    library.error_ = "Cannot load \"" + path + "\" (error " + std::to_string(GetLastError()) + ")";
    return library;
  }
  library.impl_ = std::make_unique<Impl>();
  library.impl_->module = module;
  return library;
}

bool DynamicLibrary::isLoaded() const { return impl_ != nullptr; }

void* DynamicLibrary::entry(unsigned ordinal, const std::string&) const {
  if (!impl_) return nullptr;
  FARPROC address = GetProcAddress(impl_->module, MAKEINTRESOURCEA(ordinal));
  return reinterpret_cast<void*>(address);
}

} // namespace platform
