// Reads a .lnk file back through the shell's own link object, as Windows itself reads it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <optional>
#include <string>

struct ReadLink {
  std::string path;
  std::string workingDirectory;
};

// Nothing when the shell cannot load the file as a link. The thread must be in a COM apartment.
inline std::optional<ReadLink> readLink(const std::string& file) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return std::nullopt;
  IPersistFile* persist = nullptr;
  std::optional<ReadLink> result;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    std::wstring name(file.begin(), file.end());
    if (SUCCEEDED(persist->Load(name.c_str(), STGM_READ))) {
      char path[MAX_PATH] = {};
      char folder[MAX_PATH] = {};
      if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
          SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
        result = ReadLink{path, folder};
    }
    persist->Release();
  }
  link->Release();
  return result;
}
