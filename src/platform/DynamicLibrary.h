// A shared library loaded by path and the entries it exports: by ordinal on Windows, by name on
// POSIX, where shared objects have no ordinals.
#pragma once

#include <memory>
#include <string>

namespace platform {

class DynamicLibrary {
public:
  DynamicLibrary();
  DynamicLibrary(DynamicLibrary&&) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&&) noexcept;
  ~DynamicLibrary(); // frees the library

  // Loads the library at `path` (Windows path text). The result is not isLoaded() on failure;
  // error() then tells why.
  static DynamicLibrary load(const std::string& path);

  bool isLoaded() const;
  const std::string& error() const { return error_; }

  // The address of an exported entry: looked up by `ordinal` on Windows and by `name` elsewhere.
  // Null when the library is not loaded or has no such entry.
  void* entry(unsigned ordinal, const std::string& name) const;

  struct Impl;

private:
  std::unique_ptr<Impl> impl_;
  std::string error_;
};

} // namespace platform
