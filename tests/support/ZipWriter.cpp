// Building exact ZIP archives for tests.
#include "support/ZipWriter.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

namespace testzip {

void putLe16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void putLe32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putLe64(std::string& out, std::uint64_t value) {
  putLe32(out, static_cast<std::uint32_t>(value));
  putLe32(out, static_cast<std::uint32_t>(value >> 32));
}

std::string deflateRaw(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(stream.total_out);
  return out;
}

std::uint32_t crc32Of(const std::string& data) {
  return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0),
                                          reinterpret_cast<const Bytef*>(data.data()),
                                          static_cast<uInt>(data.size())));
}

ZipWriter& ZipWriter::add(Entry entry) {
  entries_.push_back(std::move(entry));
  return *this;
}

ZipWriter& ZipWriter::file(const std::string& name, const std::string& data, bool deflate) {
  Entry entry;
  entry.name = name;
  entry.data = data;
  entry.deflate = deflate;
  return add(std::move(entry));
}

ZipWriter& ZipWriter::folder(const std::string& name) {
  Entry entry;
  entry.name = name;
  entry.externalAttributes = 0x10;
  return add(std::move(entry));
}

ZipWriter& ZipWriter::symlink(const std::string& name, const std::string& target) {
  Entry entry;
  entry.name = name;
  entry.data = target;
  entry.versionMadeBy = 0x031E; // Unix, 3.0
  entry.externalAttributes = 0120777u << 16;
  return add(std::move(entry));
}

std::string ZipWriter::build(Layout* layout) const {
  std::string out;
  std::string central;
  Layout where;
  for (const Entry& e : entries_) {
    const std::string stored = e.deflate ? deflateRaw(e.data) : e.data;
    const std::uint16_t method = e.method ? *e.method : (e.deflate ? 8 : 0);
    const std::uint32_t crc = e.crc ? *e.crc : crc32Of(e.data);
    const std::uint32_t compressed =
        e.compressedSize ? *e.compressedSize : static_cast<std::uint32_t>(stored.size());
    const std::uint32_t uncompressed =
        e.uncompressedSize ? *e.uncompressedSize : static_cast<std::uint32_t>(e.data.size());
    const std::uint16_t flags = static_cast<std::uint16_t>(e.flags | (e.dataDescriptor ? 8 : 0));
    const std::string& localName = e.localName ? *e.localName : e.name;
    const auto offset = static_cast<std::uint32_t>(out.size());
    where.localHeaders.push_back(out.size());

    putLe32(out, 0x04034b50);
    putLe16(out, 20);
    putLe16(out, flags);
    putLe16(out, method);
    putLe32(out, e.dosTime);
    putLe32(out, e.dataDescriptor ? 0 : crc);
    putLe32(out, e.dataDescriptor ? 0 : compressed);
    putLe32(out, e.dataDescriptor ? 0 : uncompressed);
    putLe16(out, static_cast<std::uint16_t>(localName.size()));
    putLe16(out, static_cast<std::uint16_t>(e.extra.size()));
    out += localName;
    out += e.extra;
    where.data.push_back(out.size());
    out += stored;
    if (e.dataDescriptor) {
      if (e.descriptorSignature) putLe32(out, 0x08074b50);
      putLe32(out, crc);
      putLe32(out, compressed);
      putLe32(out, uncompressed);
    }

    putLe32(central, 0x02014b50);
    putLe16(central, e.versionMadeBy);
    putLe16(central, 20);
    putLe16(central, flags);
    putLe16(central, method);
    putLe32(central, e.dosTime);
    putLe32(central, crc);
    putLe32(central, compressed);
    putLe32(central, uncompressed);
    putLe16(central, static_cast<std::uint16_t>(e.name.size()));
    putLe16(central, static_cast<std::uint16_t>(e.extra.size()));
    putLe16(central, static_cast<std::uint16_t>(e.comment.size()));
    putLe16(central, 0);
    putLe16(central, 0);
    putLe32(central, e.externalAttributes);
    putLe32(central, offset);
    central += e.name;
    central += e.extra;
    central += e.comment;
  }
  where.centralDirectory = out.size();
  const auto centralOffset = static_cast<std::uint32_t>(out.size());
  if (centralDirectory) out += central;
  const std::uint64_t centralSize = centralDirectory ? central.size() : 0;
  where.zip64EndRecord = out.size();
  if (zip64) {
    const std::uint64_t count64 = zip64EntryCount ? *zip64EntryCount : entries_.size();
    putLe32(out, 0x06064b50);
    putLe64(out, 44); // the record's size after this field
    putLe16(out, 45);
    putLe16(out, 45);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe64(out, count64);
    putLe64(out, count64);
    putLe64(out, centralSize);
    putLe64(out, zip64DirectoryOffset ? *zip64DirectoryOffset : where.centralDirectory);
    if (zip64Locator) {
      putLe32(out, 0x07064b50);
      putLe32(out, 0);
      putLe64(out, zip64RecordOffset ? *zip64RecordOffset : where.zip64EndRecord);
      putLe32(out, 1);
    }
  }
  where.endRecord = out.size();
  if (endRecord) {
    const std::uint16_t count = entryCount ? *entryCount
                                : zip64    ? std::uint16_t{0xFFFF}
                                           : static_cast<std::uint16_t>(entries_.size());
    putLe32(out, 0x06054b50);
    putLe16(out, 0);
    putLe16(out, 0);
    putLe16(out, count);
    putLe16(out, count);
    putLe32(out, zip64Saturate ? 0xFFFFFFFFu : static_cast<std::uint32_t>(centralSize));
    putLe32(out, zip64Saturate ? 0xFFFFFFFFu : directoryOffset ? *directoryOffset : centralOffset);
    putLe16(out, commentLength ? *commentLength : static_cast<std::uint16_t>(comment.size()));
    out += comment;
  }
  if (layout) *layout = where;
  return out;
}

void ZipWriter::write(const std::string& path, Layout* layout) const {
  const std::string bytes = build(layout);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

} // namespace testzip
