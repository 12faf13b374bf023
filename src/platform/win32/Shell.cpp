// Shell links through the shell's COM link object and deletion through the shell's file
// operation, in the thread's single-threaded apartment.
#include "platform/Shell.h"

#include "platform/PathRules.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace platform {

namespace {

std::string systemMessage(HRESULT result) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : std::string();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (message.empty()) {
    char code[32];
    wsprintfA(code, "error 0x%08lX", static_cast<unsigned long>(result));
    message = code;
  }
  return message;
}

// ANSI text in the system's code page as UTF-16, with its terminating zero.
std::vector<wchar_t> wide(const std::string& text) {
  int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> result(size > 0 ? static_cast<std::size_t>(size) : 1u, L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), size);
  return result;
}

} // namespace

ComApartment::ComApartment()
    : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
  if (entered_) CoUninitialize();
}

struct ShellLink::Impl {
  IShellLinkA* link{nullptr};
  ~Impl() {
    if (link) link->Release();
  }
};

ShellLink::ShellLink() = default;
ShellLink::ShellLink(ShellLink&&) noexcept = default;
ShellLink& ShellLink::operator=(ShellLink&&) noexcept = default;
ShellLink::~ShellLink() = default;

ShellLink ShellLink::create() {
  ShellLink result;
  IShellLinkA* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (FAILED(hr) || !link) {
    result.error_ = systemMessage(hr);
    return result;
  }
  result.impl_ = std::make_unique<Impl>();
  result.impl_->link = link;
  return result;
}

bool ShellLink::isValid() const { return impl_ != nullptr; }

bool ShellLink::setPath(const std::string& target) {
  return impl_ && SUCCEEDED(impl_->link->SetPath(target.c_str()));
}

bool ShellLink::setWorkingDirectory(const std::string& folder) {
  return impl_ && SUCCEEDED(impl_->link->SetWorkingDirectory(folder.c_str()));
}

bool ShellLink::save(const std::string& linkPath) const {
  if (!impl_) return false;
  IPersistFile* file = nullptr;
  if (FAILED(impl_->link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
      !file)
    return false;
  std::vector<wchar_t> name = wide(linkPath);
  HRESULT hr = file->Save(name.data(), FALSE);
  file->Release();
  return SUCCEEDED(hr);
}

bool shellDeleteToRecycleBin(const std::string& path) {
  // The shell expands wildcards and would empty a whole drive: only one named item goes.
  if (hasWildcard(path) || namesRootOrNothing(path)) return false;
  // The shell's list form: each name ends in a zero, and the list in one more.
  std::string from = path.c_str();
  from.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = static_cast<FILEOP_FLAGS>(FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT);
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

} // namespace platform
