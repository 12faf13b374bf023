// The library's entry point: extracts the named entries of an archive into the current folder,
// reporting to the caller's callback while it works.
#include "Unzip.h"
#include "ArchiveDirectory.h"
#include "EntryExtractor.h"
#include "EntryName.h"
#include "HostFiles.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace unzdll {
namespace {

// The archive of the last call, kept open and parsed while its path, size and time stay the
// same, so that one call per entry does not read the directory again.
struct CachedArchive {
  std::string text;     // the path as the caller wrote it
  std::string hostPath; // the path for the system calls
  host::Identity identity;
  host::ReadFile file;
  ArchiveDirectory directory;
  bool valid{false};
};

// Entries up to this size are checked whole in memory before anything is written.
constexpr std::uint64_t InMemoryLimit = 256 * 1024;

struct LibraryState {
  CachedArchive archive;
  EntryExtractor extractor;
  std::string memory; // the data of a small entry, kept for its capacity
  bool busy{false};
};

LibraryState& state() {
  static LibraryState library;
  return library;
}

// Marks the library busy for one call, also when a callback's exception ends the call.
class BusyGuard {
public:
  explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyGuard() { busy_ = false; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

private:
  bool& busy_;
};

class Reporter {
public:
  explicit Reporter(const UnZipParams& params) : params_(params) {}

  // Calls the callback unless the message level leaves this action out; true to go on.
  bool send(std::int32_t action, std::int32_t code, std::uint64_t size, std::string_view text) {
    if (!params_.Callback || !(params_.MessageLevel & levelOf(action))) return true;
    UnZipCallbackInfo info{};
    info.StructSize = sizeof info;
    info.Caller = params_.Caller;
    info.ActionCode = action;
    info.ErrorCode = code;
    info.FileSize = static_cast<std::int32_t>(std::min<std::uint64_t>(size, 0x7FFFFFFF));
    const std::size_t length = std::min(text.size(), sizeof info.Message - 1);
    std::memcpy(info.Message, text.data(), length);
    info.Message[length] = '\0';
    return params_.Callback(&info) == 0;
  }

  void error(std::int32_t code, std::string_view text) { send(unzip::ActionError, code, 0, text); }

private:
  static std::int32_t levelOf(std::int32_t action) {
    switch (action) {
    case unzip::ActionItemProgress:
      return unzip::MessagesProgress;
    case unzip::ActionError:
      return unzip::MessagesErrors;
    default:
      return unzip::MessagesItems;
    }
  }
  const UnZipParams& params_;
};

// The text of a caller's buffer, which must end within its NameBufferSize bytes.
std::optional<std::string_view> bufferText(const char* buffer) {
  if (!buffer) return std::string_view{};
  const void* end = std::memchr(buffer, '\0', unzip::NameBufferSize);
  if (!end) return std::nullopt;
  return std::string_view(buffer, static_cast<std::size_t>(static_cast<const char*>(end) - buffer));
}

std::int32_t openArchive(CachedArchive& archive, const std::string& text, std::string& error) {
  if (archive.valid && archive.text == text) {
    host::Identity now;
    if (host::identify(archive.hostPath, now) && now == archive.identity) return unzip::Ok;
  }
  archive.valid = false;
  archive.file.close();
  archive.text = text;
  archive.hostPath = host::archivePath(text);
  if (!host::identify(archive.hostPath, archive.identity) || !archive.file.open(archive.hostPath)) {
    error = "cannot open the archive " + text;
    return unzip::ArchiveNotFound;
  }
  std::string why;
  if (!archive.directory.read(archive.file, why)) {
    archive.file.close();
    error = why + ": " + text;
    return unzip::NotAnArchive;
  }
  archive.valid = true;
  return unzip::Ok;
}

bool isSymbolicLink(const DirectoryEntry& entry) {
  constexpr unsigned UnixHost = 3;
  constexpr std::uint32_t TypeMask = 0170000;
  constexpr std::uint32_t LinkType = 0120000;
  return (entry.versionMadeBy >> 8) == UnixHost &&
         ((entry.externalAttributes >> 16) & TypeMask) == LinkType;
}

std::string joinPath(const std::string& folder, std::string_view file) {
  std::string path = folder;
  if (!path.empty()) path += host::Separator;
  path += file;
  return path;
}

std::int32_t extractOne(LibraryState& library, const UnZipParams& params, Reporter& reporter,
                        const char* fileSpec) {
  const std::optional<std::string_view> name = bufferText(fileSpec);
  if (!name) {
    reporter.error(unzip::NameTooLong, "entry name too long");
    return unzip::NameTooLong;
  }
  const DirectoryEntry* entry = library.archive.directory.find(*name);
  if (!entry) {
    reporter.error(unzip::EntryNotFound, "entry not found in the archive: " + std::string(*name));
    return unzip::EntryNotFound;
  }
  EntryPath path;
  if (std::string why = checkEntryName(*name, path); !why.empty()) {
    reporter.error(unzip::UnsafeName, why);
    return unzip::UnsafeName;
  }
  if (isSymbolicLink(*entry)) {
    reporter.error(unzip::UnsafeName, "symbolic link refused: " + std::string(*name));
    return unzip::UnsafeName;
  }

  if (!reporter.send(unzip::ActionItemBegins, 0, entry->uncompressedSize, *name)) {
    reporter.send(unzip::ActionItemEnds, 0, 0, *name);
    return unzip::Cancelled;
  }
  std::string error;
  auto fail = [&](std::int32_t code) {
    reporter.error(code, error + ": " + std::string(*name));
    reporter.send(unzip::ActionItemEnds, 0, 0, *name);
    return code;
  };

  const bool useFolders = params.UseFolders != unzip::Off;
  std::string folder;
  if (useFolders)
    for (std::string_view part : path.folders)
      if (!host::enterFolder(folder, part, error)) return fail(unzip::WriteError);
  if (path.file.empty()) {
    // A folder entry: its folders are all there is to make.
    reporter.send(unzip::ActionItemEnds, 0, 0, *name);
    return unzip::Ok;
  }

  const std::string target = joinPath(folder, path.file);
  bool isFolder = false;
  const bool present = host::exists(target, isFolder);
  if (present) {
    if (isFolder) {
      error = "a folder stands where the file goes";
      return fail(unzip::WriteError);
    }
    if (params.Overwrite == unzip::Off) {
      reporter.send(unzip::ActionItemEnds, 0, 0, *name);
      return unzip::Ok;
    }
  }

  std::uint64_t unitsReported = 1;
  auto progress = [&](std::uint64_t written) {
    while (written / unzip::ProgressUnit > unitsReported) {
      ++unitsReported;
      if (!reporter.send(unzip::ActionItemProgress, 0, 0, *name)) return false;
    }
    return true;
  };
  host::WriteFile out;
  if (entry->uncompressedSize <= InMemoryLimit) {
    // A small entry is checked whole before any byte is written, so where its name is free it
    // can be written in place: no temporary file to rename, which is most of the cost of many
    // small files. A file in the way is still replaced only once the new one is complete.
    std::string& data = library.memory;
    data.clear();
    if (std::int32_t code =
            library.extractor.extract(library.archive.file, *entry, data, progress, error);
        code != unzip::Ok)
      return fail(code);
    bool inPlace = false;
    if (!present) {
      bool taken = false;
      inPlace = out.createNew(target, taken, error);
      if (!inPlace && !taken) return fail(unzip::WriteError);
    }
    if (!inPlace && !out.create(folder, error)) return fail(unzip::WriteError);
    if (!out.write(data.data(), data.size(), error)) return fail(unzip::WriteError);
  } else {
    if (!out.create(folder, error)) return fail(unzip::WriteError);
    if (std::int32_t code =
            library.extractor.extract(library.archive.file, *entry, out, progress, error);
        code != unzip::Ok)
      return fail(code);
  }
  out.setTime(entry->dosTime);
  if (!out.commit(target, error)) return fail(unzip::WriteError);
  reporter.send(unzip::ActionItemEnds, 0, 0, *name);
  return unzip::Ok;
}

} // namespace

std::int32_t run(UnZipParams* params) {
  if (!params) return unzip::BadParameters;
  LibraryState& library = state();
  Reporter reporter(*params);
  if (library.busy) {
    reporter.error(unzip::Busy, "the unzip library is already working");
    return unzip::Busy;
  }
  BusyGuard guard(library.busy);

  const std::optional<std::string_view> archivePath = bufferText(params->ArchivePath);
  if (!archivePath) {
    reporter.error(unzip::NameTooLong, "archive path too long");
    return unzip::NameTooLong;
  }
  if (archivePath->empty() || params->FileSpecCount < 1 ||
      params->FileSpecCount > unzip::MaxFileSpecs) {
    reporter.error(unzip::BadParameters, "no archive or no file specification given");
    return unzip::BadParameters;
  }
  std::string error;
  if (std::int32_t code = openArchive(library.archive, std::string(*archivePath), error);
      code != unzip::Ok) {
    reporter.error(code, error);
    return code;
  }
  std::int32_t result = unzip::Ok;
  for (int i = 0; i < params->FileSpecCount; ++i) {
    const std::int32_t code = extractOne(library, *params, reporter, params->FileSpecs[i]);
    if (code != unzip::Ok && result == unzip::Ok) result = code;
    if (code == unzip::Cancelled) break;
  }
  return result;
}

} // namespace unzdll
