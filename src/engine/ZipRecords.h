// The ZIP records the archive reader keeps, field by field as stored (little-endian), and their
// decoding from the fixed bytes of the file.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint32_t CentralFileHeaderSignature = 0x02014b50u;
inline constexpr std::uint32_t LocalFileHeaderSignature = 0x04034b50u;
inline constexpr std::uint32_t EndOfCentralDirSignature = 0x06054b50u;
inline constexpr std::uint32_t DataDescriptorSignature = 0x08074b50u;
inline constexpr std::uint32_t Zip64EndOfCentralDirSignature = 0x06064b50u;
inline constexpr std::uint32_t Zip64EndLocatorSignature = 0x07064b50u;

// Central file header: the fixed 46 bytes, then name, extra field and comment.
struct TCentralDirectoryFile {
  static constexpr unsigned FixedSize = 46;

  std::uint32_t CentralFileHeaderSignature{0};
  std::uint16_t VersionMadeBy{0};
  std::uint16_t VersionNeededToExtract{0};
  std::uint16_t GeneralPurposeBitFlag{0};
  std::uint16_t CompressionMethod{0};
  std::uint32_t LastModFileTimeDate{0}; // MS-DOS time (low 16 bits) and date (high 16 bits)
  std::uint32_t Crc32{0};
  std::uint32_t CompressedSize{0};
  std::uint32_t UncompressedSize{0};
  std::uint16_t FilenameLength{0};
  std::uint16_t ExtraFieldLength{0};
  std::uint16_t FileCommentLength{0};
  std::uint16_t DiskNumberStart{0};
  std::uint16_t InternalFileAttributes{0};
  std::uint32_t ExternalFileAttributes{0};
  std::uint32_t RelativeOffsetOfLocalHeader{0};
  std::string FileName;
  std::string ExtraField;
  std::string FileComment;

  void decodeFixed(const unsigned char* bytes);
};

// Local file header: the fixed 30 bytes, then name and extra field; the data is never read.
struct TLocalFile {
  static constexpr unsigned FixedSize = 30;

  std::uint32_t LocalFileHeaderSignature{0};
  std::uint16_t VersionNeededToExtract{0};
  std::uint16_t GeneralPurposeBitFlag{0};
  std::uint16_t CompressionMethod{0};
  std::uint32_t LastModFileTimeDate{0};
  std::uint32_t Crc32{0};
  std::uint32_t CompressedSize{0};
  std::uint32_t UncompressedSize{0};
  std::uint16_t FilenameLength{0};
  std::uint16_t ExtraFieldLength{0};
  std::string FileName;
  std::string ExtraField;
  std::string FileData;

  void decodeFixed(const unsigned char* bytes);
};

// End of central directory record: the fixed 22 bytes (the comment follows it in the file).
struct TEndOfDirectoryRecord {
  static constexpr unsigned FixedSize = 22;

  std::uint32_t EndOfCentralDirSignature{0};
  std::uint16_t NumberOfThisDisk{0};
  std::uint16_t NumberOfTheDiskWithTheStart{0};
  std::uint16_t TotalNumberOfEntriesOnThisDisk{0};
  std::uint16_t TotalNumberOfEntries{0};
  std::uint32_t SizeOfTheCentralDirectory{0};
  std::uint32_t OffsetOfStartOfCentralDirectory{0};
  std::uint16_t ZipfileCommentLength{0};

  void decodeFixed(const unsigned char* bytes);
};

// Little-endian fields of stored records.
inline std::uint16_t readLe16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t readLe32(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

inline std::uint64_t readLe64(const unsigned char* p) {
  return std::uint64_t{readLe32(p)} | (std::uint64_t{readLe32(p + 4)} << 32);
}

// An MS-DOS time (low 16 bits) and date (high 16 bits) as a date-time: days since 30 December
// 1899 with the time of day as the fraction. Fields out of range give 0.
double dosDateTimeToDateTime(std::uint32_t timeDate);
