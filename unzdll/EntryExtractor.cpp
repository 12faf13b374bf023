// Extraction of one entry's data into a file being written.
#include "EntryExtractor.h"

#include "UnzipInterface.h"

#include <algorithm>

namespace unzdll {
namespace {

constexpr std::size_t BufferSize = 256 * 1024;
constexpr std::uint32_t LocalSignature = 0x04034b50u;

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

} // namespace

EntryExtractor::EntryExtractor() : input_(BufferSize), output_(BufferSize) {}

EntryExtractor::~EntryExtractor() {
  if (inflaterReady_) inflateEnd(&inflater_);
}

std::int32_t EntryExtractor::extract(const host::ReadFile& archive, const DirectoryEntry& entry,
                                     host::WriteFile& out, const Progress& progress,
                                     std::string& error) {
  return extract(
      archive, entry,
      [&out](const unsigned char* data, std::size_t count, std::string& why) {
        return out.write(data, count, why);
      },
      progress, error);
}

std::int32_t EntryExtractor::extract(const host::ReadFile& archive, const DirectoryEntry& entry,
                                     std::string& memory, const Progress& progress,
                                     std::string& error) {
  return extract(
      archive, entry,
      [&memory](const unsigned char* data, std::size_t count, std::string&) {
        memory.append(reinterpret_cast<const char*>(data), count);
        return true;
      },
      progress, error);
}

std::int32_t EntryExtractor::extract(const host::ReadFile& archive, const DirectoryEntry& entry,
                                     const Sink& sink, const Progress& progress,
                                     std::string& error) {
  if (entry.flags & 1) {
    error = "encrypted entries are not supported";
    return unzip::Unsupported;
  }
  if (entry.method != 0 && entry.method != 8) {
    error = "compression method " + std::to_string(entry.method) + " is not supported";
    return unzip::Unsupported;
  }

  // One read brings the local header and, for small entries, all of their data.
  const std::uint64_t fileSize = archive.size();
  if (entry.localOffset >= fileSize || fileSize - entry.localOffset < 30) {
    error = "local header lies outside the archive";
    return unzip::DataError;
  }
  const std::uint64_t guess = 30u + entry.nameLength + 64u + entry.compressedSize;
  const std::size_t got =
      archive.readAt(entry.localOffset, input_.data(),
                     static_cast<std::size_t>(std::min<std::uint64_t>(input_.size(), guess)));
  if (got < 30 || le32(input_.data()) != LocalSignature) {
    error = "local header missing";
    return unzip::DataError;
  }
  const std::uint64_t headerSize = 30u + le16(&input_[26]) + le16(&input_[28]);
  const std::uint64_t dataStart = entry.localOffset + headerSize;
  if (dataStart > fileSize || entry.compressedSize > fileSize - dataStart) {
    error = "entry data runs past the end of the archive";
    return unzip::DataError;
  }

  std::uint64_t remaining = entry.compressedSize; // compressed bytes not yet handed out
  std::uint64_t nextOffset = dataStart;
  std::size_t bufferedAt = headerSize < got ? static_cast<std::size_t>(headerSize) : got;
  std::size_t buffered = got - bufferedAt;
  // The next piece of compressed data: what the first read brought, then fresh reads.
  auto nextInput = [&](const unsigned char*& data, std::size_t& count) {
    if (buffered > 0) {
      count = static_cast<std::size_t>(std::min<std::uint64_t>(buffered, remaining));
      data = input_.data() + bufferedAt;
      buffered = 0;
    } else {
      const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(input_.size(), remaining));
      count = archive.readAt(nextOffset, input_.data(), want);
      data = input_.data();
    }
    remaining -= count;
    nextOffset += count;
    return count > 0;
  };

  std::uint64_t written = 0;
  std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
  auto emit = [&](const unsigned char* data, std::size_t count) -> std::int32_t {
    if (count > entry.uncompressedSize - written) {
      error = "data longer than its stated size";
      return unzip::DataError;
    }
    crc = static_cast<std::uint32_t>(crc32(crc, data, static_cast<uInt>(count)));
    if (!sink(data, count, error)) return unzip::WriteError;
    written += count;
    if (!progress(written)) {
      error = "cancelled";
      return unzip::Cancelled;
    }
    return unzip::Ok;
  };

  if (entry.method == 0) {
    if (entry.compressedSize != entry.uncompressedSize) {
      error = "stored entry with differing sizes";
      return unzip::DataError;
    }
    while (remaining > 0) {
      const unsigned char* data = nullptr;
      std::size_t count = 0;
      if (!nextInput(data, count)) {
        error = "entry data cut short";
        return unzip::DataError;
      }
      if (std::int32_t code = emit(data, count); code != unzip::Ok) return code;
    }
  } else {
    if (!inflaterReady_) {
      if (inflateInit2(&inflater_, -MAX_WBITS) != Z_OK) {
        error = "cannot start decompression";
        return unzip::DataError;
      }
      inflaterReady_ = true;
    } else {
      inflateReset(&inflater_);
    }
    inflater_.avail_in = 0;
    for (;;) {
      if (inflater_.avail_in == 0 && remaining > 0) {
        const unsigned char* data = nullptr;
        std::size_t count = 0;
        if (!nextInput(data, count)) {
          error = "entry data cut short";
          return unzip::DataError;
        }
        inflater_.next_in = const_cast<Bytef*>(data);
        inflater_.avail_in = static_cast<uInt>(count);
      }
      const uInt inputBefore = inflater_.avail_in;
      inflater_.next_out = output_.data();
      inflater_.avail_out = static_cast<uInt>(output_.size());
      const int result = inflate(&inflater_, Z_NO_FLUSH);
      const std::size_t produced = output_.size() - inflater_.avail_out;
      if (produced > 0)
        if (std::int32_t code = emit(output_.data(), produced); code != unzip::Ok) return code;
      if (result == Z_STREAM_END) break;
      if (result != Z_OK && result != Z_BUF_ERROR) {
        error = "compressed data damaged";
        return unzip::DataError;
      }
      if (produced == 0 && inflater_.avail_in == inputBefore &&
          (inflater_.avail_in > 0 || remaining == 0)) {
        error = "compressed data cut short";
        return unzip::DataError;
      }
    }
  }

  if (written != entry.uncompressedSize) {
    error = "data shorter than its stated size";
    return unzip::DataError;
  }
  if (crc != entry.crc) {
    error = "CRC-32 mismatch";
    return unzip::ChecksumError;
  }
  return unzip::Ok;
}

} // namespace unzdll
