// Listing a ZIP archive: the end-record search, the central directory, the local-header check
// and the rebuild from local headers for archives without an end record.
#include "engine/ZipArchive.h"

#include "platform/Files.h"

#include <algorithm>

namespace {

constexpr unsigned char SignatureLead = 0x50; // 'P', the first byte of every record signature

// Splits text into lines at CR, LF and CR LF; a break at the very end opens no further line.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    lines.push_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

void replaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
  std::size_t at = 0;
  while ((at = text.find(pattern, at)) != std::string::npos) {
    text.replace(at, pattern.size(), replacement);
    at += replacement.size();
  }
}

} // namespace

TZipEntry& TZipEntries::operator[](int index) { return items_.at(static_cast<std::size_t>(index)); }

const TZipEntry& TZipEntries::operator[](int index) const {
  return items_.at(static_cast<std::size_t>(index));
}

TZipEntry& TZipEntries::Add() { return items_.emplace_back(*this); }

TZipArchive::TZipArchive() : Entries(*this) {}

TZipArchive::~TZipArchive() = default;

void TZipArchive::Open(const std::string& fileName) {
  Close();
  if (!platform::fileExists(fileName) && !platform::directoryExists(fileName))
    throw EZipFileNotFound("File \"" + fileName + "\" not found!");
  // The archive is only ever read, so it is opened for reading whatever its attributes: a file
  // on a medium that refuses writing must list all the same. ReadOnly still tells the attribute.
  platform::FileStream file = platform::FileStream::openRead(fileName);
  if (!file.isOpen()) throw EZipFileOpenError("Cannot open file \"" + fileName + "\".");
  ReadOnly = file.readOnlyAttribute();
  stream_ = std::make_unique<ZipStream>(std::move(file));
  Parse();
  if (!isZipFile_) Close();
  namesDirty_ = true;
  ZipChange(1);
  FileName = fileName;
}

void TZipArchive::Close() {
  Entries.Clear();
  if (!streamOwnedByCaller_) stream_.reset();
  isZipFile_ = false;
  ReadOnly = false;
  namesDirty_ = true;
  ZipChange(0);
}

void TZipArchive::SetActive(bool active) {
  if (FileName.empty()) return;
  if (active)
    Open(FileName);
  else
    Close();
}

void TZipArchive::SetCompressionType(TZipCompressionType type) {
  compressionType_ = type == ctUnknown ? ctNormal : type;
}

void TZipArchive::ZipChange(int ChangeType) {
  if (OnZipChange) OnZipChange(*this, ChangeType);
}

const std::vector<std::string>& TZipArchive::Comment() {
  comment_.clear();
  if (isZipFile_ && stream_ && endRecord_.ZipfileCommentLength != 0) {
    stream_->Seek(commentPosition_);
    comment_ = splitLines(stream_->ReadString(endRecord_.ZipfileCommentLength));
  }
  return comment_;
}

const std::vector<std::string>& TZipArchive::FileNames() {
  if (namesDirty_) {
    fileNames_.clear();
    for (int i = 0; i < Entries.Count(); ++i) {
      std::string name = Entries[i].CentralRecord.FileName;
      replaceAll(name, "//", "\\");
      replaceAll(name, "/", "\\");
      const std::size_t drive = name.find(":\\");
      if (drive != std::string::npos) name.erase(0, drive + 2);
      fileNames_.push_back(std::move(name));
    }
    namesDirty_ = false;
  }
  return fileNames_;
}

void TZipArchive::Parse() {
  Entries.IsZipFile = false;
  Entries.Clear();
  badEntries_ = false;
  if (FindEndRecord()) {
    if (ReadCentralDirectory()) {
      Entries.IsZipFile = true;
      CheckLocalHeaders();
    }
  } else {
    RebuildFromLocalHeaders();
    if (Entries.LocalHeaderCount > 0) {
      Entries.IsZipFile = true;
      badEntries_ = true;
    }
  }
  isZipFile_ = Entries.IsZipFile;
}

bool TZipArchive::ReadFixed(unsigned char* bytes, unsigned size) {
  std::fill(bytes, bytes + size, 0);
  return stream_->Read(bytes, size) == size;
}

// The search walks back from the end in three phases of growing reach. A byte that is not 'P'
// moves one position back; a 'P' that does not start the signature moves four, since none of
// the signature's other bytes is a 'P'.
bool TZipArchive::FindEndRecord() {
  const auto size = static_cast<std::int64_t>(stream_->Size());
  if (size < static_cast<std::int64_t>(TEndOfDirectoryRecord::FixedSize)) return false;
  struct Phase {
    std::int64_t start;
    std::int64_t budget;
  };
  const Phase phases[] = {
      {size - 22, size < 256 ? size : 256}, {size - 278, 1024}, {size - 1046, 65536}};
  for (int phase = 0; phase < 3; ++phase) {
    if (phase > 0 && (size < 256 || phases[phase].budget > size)) return false;
    std::int64_t position = phases[phase].start;
    std::int64_t budget = phases[phase].budget;
    while (budget >= 0) {
      if (position < 0) return false;
      unsigned char bytes[4] = {};
      stream_->Seek(static_cast<std::uint64_t>(position));
      stream_->Read(bytes, 4);
      if (bytes[0] != SignatureLead) {
        position -= 1;
        budget -= 1;
      } else if (readLe32(bytes) == EndOfCentralDirSignature) {
        unsigned char fixed[TEndOfDirectoryRecord::FixedSize];
        stream_->Seek(static_cast<std::uint64_t>(position));
        endRecordPosition_ = static_cast<std::uint32_t>(position);
        ReadFixed(fixed, TEndOfDirectoryRecord::FixedSize);
        endRecord_.decodeFixed(fixed);
        commentPosition_ = static_cast<std::uint32_t>(stream_->Position());
        comment_.clear();
        directoryEntries_ = endRecord_.TotalNumberOfEntriesOnThisDisk;
        directoryOffset_ = endRecord_.OffsetOfStartOfCentralDirectory;
        directorySize_ = endRecord_.SizeOfTheCentralDirectory;
        ReadZip64EndRecord();
        return true;
      } else {
        position -= 4;
        budget -= 4;
      }
    }
  }
  return false;
}

// An archive of more than 65535 entries (or one written with ZIP64 forced) keeps 0xFFFF and
// 0xFFFFFFFF in the end record and the true values in a ZIP64 end record, whose locator stands
// right before the end record. Following the 16-bit count there would drop entries silently, so
// the ZIP64 values replace the saturated fields, as far as this reader can follow them: a count
// the file has room for, an offset and a size below 4 GiB. Anything else stays as stored.
void TZipArchive::ReadZip64EndRecord() {
  constexpr std::uint16_t Full16 = 0xFFFF;
  constexpr std::uint32_t Full32 = 0xFFFFFFFFu;
  constexpr unsigned LocatorSize = 20;
  constexpr unsigned RecordSize = 56;
  const TEndOfDirectoryRecord& end = endRecord_;
  const bool saturated =
      end.TotalNumberOfEntriesOnThisDisk == Full16 || end.TotalNumberOfEntries == Full16 ||
      end.SizeOfTheCentralDirectory == Full32 || end.OffsetOfStartOfCentralDirectory == Full32;
  if (!saturated || endRecordPosition_ < LocatorSize) return;
  unsigned char locator[LocatorSize];
  stream_->Seek(endRecordPosition_ - LocatorSize);
  if (!ReadFixed(locator, LocatorSize) || readLe32(locator) != Zip64EndLocatorSignature) return;
  const std::uint64_t recordAt = readLe64(locator + 8);
  if (recordAt > endRecordPosition_ - LocatorSize ||
      endRecordPosition_ - LocatorSize - recordAt < RecordSize)
    return;
  unsigned char record[RecordSize];
  stream_->Seek(recordAt);
  if (!ReadFixed(record, RecordSize) || readLe32(record) != Zip64EndOfCentralDirSignature) return;
  const std::uint64_t count = readLe64(record + 24);
  const std::uint64_t size = readLe64(record + 40);
  const std::uint64_t offset = readLe64(record + 48);
  // Every central record takes at least its fixed part, which bounds a believable count.
  const std::uint64_t roomFor = stream_->Size() / TCentralDirectoryFile::FixedSize;
  if (end.TotalNumberOfEntriesOnThisDisk == Full16 && count <= roomFor && count <= 0x7FFFFFFFu)
    directoryEntries_ = static_cast<std::uint32_t>(count);
  if (end.OffsetOfStartOfCentralDirectory == Full32 && offset <= Full32)
    directoryOffset_ = static_cast<std::uint32_t>(offset);
  if (end.SizeOfTheCentralDirectory == Full32 && size <= Full32)
    directorySize_ = static_cast<std::uint32_t>(size);
}

void TZipArchive::FillEntry(TZipEntry& entry, TCentralDirectoryFile&& record) const {
  entry.ModifiedAt = dosDateTimeToDateTime(record.LastModFileTimeDate);
  entry.Encrypted = (record.GeneralPurposeBitFlag & 1) != 0;
  entry.IsDirectory = (record.ExternalFileAttributes & 0x10) != 0;
  entry.Compression = ctUnknown;
  if (record.CompressionMethod == 8 || record.CompressionMethod == 9) {
    static constexpr TZipCompressionType byFlags[] = {ctNormal, ctMaximum, ctFast, ctSuperFast};
    entry.Compression = byFlags[(record.GeneralPurposeBitFlag >> 1) & 3];
  }
  entry.CentralRecord = std::move(record);
}

// Reads as many records as the end record announces. Lengths and offsets are taken as stored:
// reading past the end of the file is no error and leaves zeros (or a shortened string).
bool TZipArchive::ReadCentralDirectory() {
  const auto total = static_cast<int>(directoryEntries_);
  try {
    stream_->Seek(directoryOffset_);
    for (int i = 0; i < total; ++i) {
      unsigned char fixed[TCentralDirectoryFile::FixedSize];
      ReadFixed(fixed, TCentralDirectoryFile::FixedSize);
      TCentralDirectoryFile record;
      record.decodeFixed(fixed);
      TZipEntry& entry = Entries.Add();
      record.FileName = stream_->ReadString(record.FilenameLength);
      record.ExtraField = stream_->ReadString(record.ExtraFieldLength);
      record.FileComment = stream_->ReadString(record.FileCommentLength);
      FillEntry(entry, std::move(record));
      if (OnZipOpen) OnZipOpen(*this, i, total);
    }
  } catch (...) {
    // A failed read (or a failing event handler) leaves the archive unrecognised, quietly.
    return false;
  }
  return Entries.Count() == total;
}

// Local names and extra fields are kept only up to as many bytes as the file holds in all. A
// sound archive never comes near that; a directory whose entries (real or claimed by a lying
// count) point many times at the same or at overlapping headers would otherwise copy those
// bytes once per entry. Headers past that budget keep their fixed part and count as misplaced.
void TZipArchive::CheckLocalHeaders() {
  badEntries_ = false;
  std::uint64_t budget = stream_->Size();
  for (int i = 0; i < Entries.Count(); ++i) {
    if (OnZipOpen) OnZipOpen(*this, i, static_cast<int>(directoryEntries_));
    TZipEntry& entry = Entries[i];
    TLocalFile local;
    const std::uint32_t offset = entry.CentralRecord.RelativeOffsetOfLocalHeader;
    unsigned char signature[4] = {};
    stream_->Seek(offset);
    stream_->Read(signature, 4);
    if (readLe32(signature) == LocalFileHeaderSignature) {
      unsigned char fixed[TLocalFile::FixedSize];
      stream_->Seek(offset);
      ReadFixed(fixed, TLocalFile::FixedSize);
      local.decodeFixed(fixed);
      const std::uint64_t wanted = std::uint64_t{local.FilenameLength} + local.ExtraFieldLength;
      if (wanted <= budget) {
        budget -= wanted;
        local.FileName = stream_->ReadString(local.FilenameLength);
        local.ExtraField = stream_->ReadString(local.ExtraFieldLength);
      } else {
        badEntries_ = true;
      }
    }
    if (local.LocalFileHeaderSignature != LocalFileHeaderSignature) badEntries_ = true;
    entry.LocalRecord = std::move(local);
  }
}

// An entry written with its sizes in a data descriptor (flag bit 3) has no usable compressed
// size in its local header. Its data ends at the first descriptor whose compressed size equals
// the distance from the data's start: either one with its signature, or one without, followed by
// another header or the end of the file. The descriptor's CRC and sizes go into the record and
// the stream is left after it. Without such a descriptor the stream is left at the end of the
// file, which ends the rebuild. The walk only moves forward, so a whole rebuild reads the file
// about once.
bool TZipArchive::SkipDescribedData(TCentralDirectoryFile& record) {
  // Chunks start small, since most entries are small, and grow for large ones.
  constexpr std::size_t MaxChunk = 64 * 1024;
  constexpr std::size_t Overlap = 16;
  const std::uint64_t dataStart = stream_->Position();
  const std::uint64_t size = stream_->Size();
  std::vector<unsigned char> buffer;
  std::size_t chunk = 256;
  for (std::uint64_t chunkStart = dataStart; chunkStart < size;
       chunkStart += chunk, chunk = std::min(chunk * 2, MaxChunk)) {
    buffer.resize(chunk + Overlap);
    stream_->Seek(chunkStart);
    const std::size_t got = stream_->Read(buffer.data(), buffer.size());
    for (std::size_t k = 0; k < got && k < chunk; ++k) {
      const std::uint64_t at = chunkStart + k;
      const std::uint64_t distance = at - dataStart;
      if (distance > 0xFFFFFFFFu) break;
      const unsigned char* b = buffer.data() + k;
      const std::size_t available = got - k;
      if (available >= 16 && readLe32(b) == DataDescriptorSignature &&
          readLe32(b + 8) == distance) {
        record.Crc32 = readLe32(b + 4);
        record.CompressedSize = readLe32(b + 8);
        record.UncompressedSize = readLe32(b + 12);
        stream_->Seek(at + 16);
        return true;
      }
      if (available >= 12 && readLe32(b + 4) == distance) {
        const bool atEnd = at + 12 == size;
        const std::uint32_t next = available >= 16 ? readLe32(b + 12) : 0;
        if (atEnd || next == LocalFileHeaderSignature || next == CentralFileHeaderSignature) {
          record.Crc32 = readLe32(b);
          record.CompressedSize = readLe32(b + 4);
          record.UncompressedSize = readLe32(b + 8);
          stream_->Seek(at + 12);
          return true;
        }
      }
    }
  }
  stream_->Seek(size);
  return false;
}

void TZipArchive::RebuildFromLocalHeaders() {
  Entries.Clear();
  Entries.LocalHeaderCount = 0;
  std::uint64_t position = 0;
  std::uint32_t count = 0;
  std::uint64_t directorySize = 0;
  try {
    for (;;) {
      unsigned char signature[4] = {};
      stream_->Seek(position);
      stream_->Read(signature, 4);
      if (readLe32(signature) != LocalFileHeaderSignature) break;
      ++Entries.LocalHeaderCount;
      unsigned char fixed[TLocalFile::FixedSize];
      stream_->Seek(position);
      ReadFixed(fixed, TLocalFile::FixedSize);
      TLocalFile local;
      local.decodeFixed(fixed);
      local.FileName = stream_->ReadString(local.FilenameLength);
      local.ExtraField = stream_->ReadString(local.ExtraFieldLength);

      TCentralDirectoryFile record;
      record.CentralFileHeaderSignature = CentralFileHeaderSignature;
      record.VersionMadeBy = 20;
      record.VersionNeededToExtract = local.VersionNeededToExtract;
      record.GeneralPurposeBitFlag = local.GeneralPurposeBitFlag;
      record.CompressionMethod = local.CompressionMethod;
      record.LastModFileTimeDate = local.LastModFileTimeDate;
      record.Crc32 = local.Crc32;
      record.CompressedSize = local.CompressedSize;
      record.UncompressedSize = local.UncompressedSize;
      record.FilenameLength = local.FilenameLength;
      record.ExtraFieldLength = local.ExtraFieldLength;
      record.ExternalFileAttributes =
          !local.FileName.empty() && local.FileName.back() == '/' ? 0x10u : 0x20u;
      record.RelativeOffsetOfLocalHeader = static_cast<std::uint32_t>(position);
      record.FileName = local.FileName;
      record.ExtraField = local.ExtraField;

      if (local.GeneralPurposeBitFlag & 0x08)
        SkipDescribedData(record);
      else
        stream_->Seek(stream_->Position() + local.CompressedSize);

      directorySize += TCentralDirectoryFile::FixedSize + record.FilenameLength +
                       record.ExtraFieldLength + record.FileCommentLength;
      FillEntry(Entries.Add(), std::move(record));
      position = stream_->Position();
      ++count;
    }
  } catch (...) {
    // Whatever was rebuilt before the failure stays.
  }
  endRecord_ = TEndOfDirectoryRecord{};
  endRecord_.EndOfCentralDirSignature = EndOfCentralDirSignature;
  endRecord_.TotalNumberOfEntriesOnThisDisk = static_cast<std::uint16_t>(count);
  endRecord_.SizeOfTheCentralDirectory = static_cast<std::uint32_t>(directorySize);
  endRecord_.OffsetOfStartOfCentralDirectory = static_cast<std::uint32_t>(stream_->Position());
  directoryEntries_ = endRecord_.TotalNumberOfEntriesOnThisDisk;
  directoryOffset_ = endRecord_.OffsetOfStartOfCentralDirectory;
  directorySize_ = endRecord_.SizeOfTheCentralDirectory;
}
