// Decoding of the stored ZIP records and of MS-DOS time stamps.
#include "engine/ZipRecords.h"

void TCentralDirectoryFile::decodeFixed(const unsigned char* b) {
  CentralFileHeaderSignature = readLe32(b);
  VersionMadeBy = readLe16(b + 4);
  VersionNeededToExtract = readLe16(b + 6);
  GeneralPurposeBitFlag = readLe16(b + 8);
  CompressionMethod = readLe16(b + 10);
  LastModFileTimeDate = readLe32(b + 12);
  Crc32 = readLe32(b + 16);
  CompressedSize = readLe32(b + 20);
  UncompressedSize = readLe32(b + 24);
  FilenameLength = readLe16(b + 28);
  ExtraFieldLength = readLe16(b + 30);
  FileCommentLength = readLe16(b + 32);
  DiskNumberStart = readLe16(b + 34);
  InternalFileAttributes = readLe16(b + 36);
  ExternalFileAttributes = readLe32(b + 38);
  RelativeOffsetOfLocalHeader = readLe32(b + 42);
}

void TLocalFile::decodeFixed(const unsigned char* b) {
  LocalFileHeaderSignature = readLe32(b);
  VersionNeededToExtract = readLe16(b + 4);
  GeneralPurposeBitFlag = readLe16(b + 6);
  CompressionMethod = readLe16(b + 8);
  LastModFileTimeDate = readLe32(b + 10);
  Crc32 = readLe32(b + 14);
  CompressedSize = readLe32(b + 18);
  UncompressedSize = readLe32(b + 22);
  FilenameLength = readLe16(b + 26);
  ExtraFieldLength = readLe16(b + 28);
}

void TEndOfDirectoryRecord::decodeFixed(const unsigned char* b) {
  EndOfCentralDirSignature = readLe32(b);
  NumberOfThisDisk = readLe16(b + 4);
  NumberOfTheDiskWithTheStart = readLe16(b + 6);
  TotalNumberOfEntriesOnThisDisk = readLe16(b + 8);
  TotalNumberOfEntries = readLe16(b + 10);
  SizeOfTheCentralDirectory = readLe32(b + 12);
  OffsetOfStartOfCentralDirectory = readLe32(b + 16);
  ZipfileCommentLength = readLe16(b + 20);
}

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? static_cast<unsigned>(-3) : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

unsigned daysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

double dosDateTimeToDateTime(std::uint32_t timeDate) {
  const unsigned time = timeDate & 0xFFFFu;
  const unsigned date = timeDate >> 16;
  const unsigned second = (time & 0x1Fu) * 2;
  const unsigned minute = (time >> 5) & 0x3Fu;
  const unsigned hour = time >> 11;
  const unsigned day = date & 0x1Fu;
  const unsigned month = (date >> 5) & 0x0Fu;
  const unsigned year = (date >> 9) + 1980;
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return 0.0;
  // The date-time epoch, 30 December 1899, lies 25569 days before 1 January 1970.
  const long long days = daysFromCivil(year, month, day) + 25569;
  return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}
