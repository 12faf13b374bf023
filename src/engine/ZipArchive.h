// TZipArchive: lists a ZIP archive: finds its end record, reads the central directory into
// entries, checks each entry's local header, and rebuilds the entries from the local headers
// when the end record is missing. It never decompresses anything.
#pragma once

#include "engine/ZipRecords.h"
#include "engine/ZipStream.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

enum TZipCompressionType { ctNormal, ctMaximum, ctFast, ctSuperFast, ctNone, ctUnknown };
enum TZipSaveMethod { FastSave, RebuildAll };
enum TOverwriteAction { oaSkip, oaSkipAll, oaOverwrite, oaOverwriteAll };

class TZipArchive;
class TZipEntries;

// Raised by Open for a file that does not exist.
class EZipFileNotFound : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Raised by Open for a file that exists but cannot be opened.
class EZipFileOpenError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

using TOnZipOpen = std::function<void(TZipArchive& Sender, int Current, int Total)>;
using TOnZipChange = std::function<void(TZipArchive& Sender, int ChangeType)>;
// The events of archive writing and extraction: stored, never called.
using TZipNotifyEvent = std::function<void(TZipArchive& Sender)>;

class TZipEntry {
public:
  explicit TZipEntry(TZipEntries& collection) : Collection(collection) {}

  TZipEntries& Collection;
  TCentralDirectoryFile CentralRecord;
  TLocalFile LocalRecord;
  bool Encrypted{false};
  bool IsDirectory{false};
  double ModifiedAt{0.0};
  TZipCompressionType Compression{ctUnknown};
  bool Marked{false};
};

class TZipEntries {
public:
  explicit TZipEntries(TZipArchive& archive) : archive_(archive) {}
  TZipEntries(const TZipEntries&) = delete;
  TZipEntries& operator=(const TZipEntries&) = delete;

  TZipArchive& Archive() const { return archive_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Item `index`, 0 <= index < Count(); anything else throws std::out_of_range.
  TZipEntry& operator[](int index);
  const TZipEntry& operator[](int index) const;
  TZipEntry& Add();
  void Clear() { items_.clear(); }

  bool IsZipFile{false};   // the result of the last parse
  int LocalHeaderCount{0}; // local headers found by the last rebuild

private:
  TZipArchive& archive_;
  std::deque<TZipEntry> items_;
};

class TZipArchive {
public:
  TZipArchive();
  virtual ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  // Closes what is open, opens the named file and lists it. Throws EZipFileNotFound (message
  // File "<name>" not found!) when the file does not exist, leaving FileName unchanged.
  void Open(const std::string& fileName);
  void Close();

  TZipEntries Entries;

  std::string FileName;
  bool ReadOnly{false};

  bool Active() const { return isZipFile_; }
  void SetActive(bool active);
  bool IsZipFile() const { return isZipFile_; }
  void SetIsZipFile(bool) {}
  bool BadEntries() const { return badEntries_; }

  std::uint32_t EndRecordPosition() const { return endRecordPosition_; }
  const TEndOfDirectoryRecord& EndRecord() const { return endRecord_; }
  std::uint32_t CommentPosition() const { return commentPosition_; }
  // The directory as read: the end record's count and offset, or the values of the ZIP64 end
  // record where the end record's fields are saturated and point there.
  std::uint32_t DirectoryEntryCount() const { return directoryEntries_; }
  std::uint32_t DirectoryOffset() const { return directoryOffset_; }
  std::uint32_t DirectorySize() const { return directorySize_; }

  // The archive comment as lines, read again from the file on every call.
  const std::vector<std::string>& Comment();
  // One line per entry: the stored name with folders separated by backslashes and anything up
  // to a ":\" removed.
  const std::vector<std::string>& FileNames();

  // Settings of archive writing and extraction, which this program does not contain: stored and
  // otherwise unused.
  TZipSaveMethod SaveMethod{FastSave};
  bool StoreRelativePath{true};
  bool StoreFolders{true};
  bool UseTempFiles{false};
  TOverwriteAction OverwriteAction{oaSkip};
  bool ApplyAtributes{true};
  TZipCompressionType CompressionType() const { return compressionType_; }
  void SetCompressionType(TZipCompressionType type);
  std::string ComponentVersion() const { return "2.0"; }
  void SetComponentVersion(const std::string&) {}

  TOnZipOpen OnZipOpen;
  TOnZipChange OnZipChange;
  TZipNotifyEvent OnDecompressFile;
  TZipNotifyEvent OnCompressFile;
  TZipNotifyEvent OnAddItem;
  TZipNotifyEvent OnRebuildZip;
  TZipNotifyEvent OnRemoveItems;
  TZipNotifyEvent OnOverwriteFile;

protected:
  // Announces a change: 1 after an open, 0 after a close.
  virtual void ZipChange(int ChangeType);

private:
  void Parse();
  bool FindEndRecord();
  void ReadZip64EndRecord();
  bool ReadCentralDirectory();
  void CheckLocalHeaders();
  void RebuildFromLocalHeaders();
  bool ReadFixed(unsigned char* bytes, unsigned size);
  void FillEntry(TZipEntry& entry, TCentralDirectoryFile&& record) const;
  bool SkipDescribedData(TCentralDirectoryFile& record);

  bool namesDirty_{true};
  std::uint32_t endRecordPosition_{0};
  TEndOfDirectoryRecord endRecord_;
  std::uint32_t commentPosition_{0};
  std::uint32_t directoryEntries_{0};
  std::uint32_t directoryOffset_{0};
  std::uint32_t directorySize_{0};
  std::vector<std::string> comment_;
  bool isZipFile_{false};
  bool badEntries_{false};
  std::vector<std::string> fileNames_;
  TZipCompressionType compressionType_{ctMaximum};
  bool streamOwnedByCaller_{false}; // always false: the component opens and frees its stream
  std::unique_ptr<ZipStream> stream_;
};
