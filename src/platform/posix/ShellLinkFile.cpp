// Writing and reading .lnk files: ShellLinkHeader, LinkInfo (VolumeID and local base path, in
// the code page and in UTF-16), the WORKING_DIR string and the terminal block.
#include "platform/posix/ShellLinkFile.h"

#include "platform/posix/Machine.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string_view>

namespace platform::posix {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasLinkTargetIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kDriveSerial = 0x51460120;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24; // with the Unicode offsets

// Windows-1252 bytes 0x80-0x9F; the rest of the code page is Latin-1. Bytes the code page leaves
// undefined map to the control character of the same value, as the system's conversion does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t toUtf16(char c) {
  auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

char fromUtf16(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
  return '?';
}

void put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

void put64(std::string& out, std::uint64_t value) {
  put32(out, static_cast<std::uint32_t>(value));
  put32(out, static_cast<std::uint32_t>(value >> 32));
}

void putUtf16(std::string& out, std::string_view text) {
  for (char c : text) put16(out, toUtf16(c));
}

void set32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string linkInfo(std::string_view target) {
  std::string info(kLinkInfoHeaderSize, '\0');
  std::string volume;
  put32(volume, 0x11); // VolumeIDSize: the four fields and an empty label
  put32(volume, kDriveFixed);
  put32(volume, kDriveSerial);
  put32(volume, 0x10); // VolumeLabelOffset
  volume += '\0';
  std::size_t volumeOffset = info.size();
  info += volume;
  std::size_t basePath = info.size();
  info += target;
  info += '\0';
  std::size_t suffix = info.size();
  info += '\0';
  std::size_t basePathUnicode = info.size();
  putUtf16(info, target);
  put16(info, 0);
  std::size_t suffixUnicode = info.size();
  put16(info, 0);
  set32(info, 0x00, static_cast<std::uint32_t>(info.size()));
  set32(info, 0x04, kLinkInfoHeaderSize);
  set32(info, 0x08, kVolumeIdAndLocalBasePath);
  set32(info, 0x0C, static_cast<std::uint32_t>(volumeOffset));
  set32(info, 0x10, static_cast<std::uint32_t>(basePath));
  set32(info, 0x14, 0); // no network link
  set32(info, 0x18, static_cast<std::uint32_t>(suffix));
  set32(info, 0x1C, static_cast<std::uint32_t>(basePathUnicode));
  set32(info, 0x20, static_cast<std::uint32_t>(suffixUnicode));
  return info;
}

// Bounds-checked little-endian reads over the file's bytes.
class Reader {
public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  std::optional<std::uint32_t> u16(std::size_t at) const { return value(at, 2); }
  std::optional<std::uint32_t> u32(std::size_t at) const { return value(at, 4); }
  std::optional<std::uint64_t> u64(std::size_t at) const {
    auto low = u32(at), high = u32(at + 4);
    if (!low || !high) return std::nullopt;
    return *low | (static_cast<std::uint64_t>(*high) << 32);
  }
  // A zero-terminated code-page string at `at` that must end before `end`.
  std::optional<std::string> ansi(std::size_t at, std::size_t end) const {
    std::string text;
    for (std::size_t i = at; i < end && i < bytes_.size(); ++i) {
      if (bytes_[i] == '\0') return text;
      text += bytes_[i];
    }
    return std::nullopt;
  }
  std::optional<std::string> unicode(std::size_t at, std::size_t end) const {
    std::string text;
    for (std::size_t i = at; i + 1 < end && i + 1 < bytes_.size(); i += 2) {
      auto unit = static_cast<char16_t>(*u16(i));
      if (unit == 0) return text;
      text += fromUtf16(unit);
    }
    return std::nullopt;
  }
  std::optional<std::string> counted(std::size_t at, std::uint32_t count, bool wide) const {
    std::size_t size = count * (wide ? 2u : 1u);
    if (at + size > bytes_.size()) return std::nullopt;
    std::string text;
    for (std::uint32_t i = 0; i < count; ++i)
      text += wide ? fromUtf16(static_cast<char16_t>(*u16(at + 2 * i))) : bytes_[at + i];
    return text;
  }
  std::size_t size() const { return bytes_.size(); }

private:
  std::optional<std::uint32_t> value(std::size_t at, int width) const {
    if (at + static_cast<std::size_t>(width) > bytes_.size()) return std::nullopt;
    std::uint32_t result = 0;
    for (int i = width - 1; i >= 0; --i)
      result = (result << 8) | static_cast<unsigned char>(bytes_[at + i]);
    return result;
  }
  const std::string& bytes_;
};

std::optional<std::string> readTarget(const Reader& in, std::size_t start) {
  auto size = in.u32(start), headerSize = in.u32(start + 4), flags = in.u32(start + 8);
  if (!size || !headerSize || !flags || start + *size > in.size()) return std::nullopt;
  if ((*flags & kVolumeIdAndLocalBasePath) == 0) return std::nullopt;
  std::size_t end = start + *size;
  auto basePath = in.u32(start + 0x10), suffix = in.u32(start + 0x18);
  if (!basePath || !suffix) return std::nullopt;
  std::optional<std::string> path, tail;
  if (*headerSize >= 0x24) {
    auto basePathUnicode = in.u32(start + 0x1C), suffixUnicode = in.u32(start + 0x20);
    if (basePathUnicode && *basePathUnicode) path = in.unicode(start + *basePathUnicode, end);
    if (suffixUnicode && *suffixUnicode) tail = in.unicode(start + *suffixUnicode, end);
  }
  if (!path) path = in.ansi(start + *basePath, end);
  if (!tail) tail = in.ansi(start + *suffix, end);
  if (!path || !tail) return std::nullopt;
  return *path + *tail;
}

} // namespace

std::optional<std::string> encodeShellLink(const ShellLinkFields& fields) {
  if (fields.workingDirectory.size() > 0xFFFF || fields.target.size() > 0x7FFF) return std::nullopt;
  std::uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!fields.workingDirectory.empty()) flags |= kHasWorkingDir;
  std::string out;
  put32(out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size());
  put32(out, flags);
  put32(out, fields.targetAttributes);
  put64(out, fields.targetWriteTime); // creation
  put64(out, fields.targetWriteTime); // access
  put64(out, fields.targetWriteTime); // write
  put32(out, fields.targetSize);
  put32(out, 0); // icon index
  put32(out, kShowNormal);
  put16(out, 0); // hot key
  put16(out, 0);
  put32(out, 0);
  put32(out, 0);
  out += linkInfo(fields.target);
  if (!fields.workingDirectory.empty()) {
    put16(out, static_cast<std::uint32_t>(fields.workingDirectory.size()));
    putUtf16(out, fields.workingDirectory);
  }
  put32(out, 0); // terminal block
  return out;
}

std::optional<ShellLinkFields> decodeShellLink(const std::string& bytes) {
  Reader in(bytes);
  if (in.u32(0) != kHeaderSize || bytes.size() < kHeaderSize ||
      !std::equal(kLinkClsid.begin(), kLinkClsid.end(),
                  reinterpret_cast<const unsigned char*>(bytes.data()) + 4))
    return std::nullopt;
  std::uint32_t flags = *in.u32(0x14);
  ShellLinkFields fields;
  fields.targetAttributes = *in.u32(0x18);
  fields.targetWriteTime = *in.u64(0x2C);
  fields.targetSize = *in.u32(0x34);
  std::size_t at = kHeaderSize;
  if (flags & kHasLinkTargetIdList) {
    auto size = in.u16(at);
    if (!size) return std::nullopt;
    at += 2 + *size;
  }
  if (flags & kHasLinkInfo) {
    auto size = in.u32(at);
    std::optional<std::string> target = readTarget(in, at);
    if (!size || !target) return std::nullopt;
    fields.target = *target;
    at += *size;
  }
  bool wide = (flags & kIsUnicode) != 0;
  for (std::uint32_t bit : {kHasName, kHasRelativePath, kHasWorkingDir}) {
    if ((flags & bit) == 0) continue;
    auto count = in.u16(at);
    if (!count) return std::nullopt;
    std::optional<std::string> text = in.counted(at + 2, *count, wide);
    if (!text) return std::nullopt;
    if (bit == kHasWorkingDir) fields.workingDirectory = *text;
    at += 2 + *count * (wide ? 2u : 1u);
  }
  return fields;
}

std::optional<ShellLinkFields> readShellLink(const std::string& linkPath) {
  std::ifstream in(Machine::ready().hostPath(linkPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return decodeShellLink(bytes);
}

} // namespace platform::posix
