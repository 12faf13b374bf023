// Picture sizes: icon and bitmap headers read here, JPEG and GIF through the decoder.
#include "app/Picture.h"

#include "app/Controls.h"
#include "app/FileBytes.h"
#include "app/StbImage.h"

#include <climits>
#include <limits>

namespace app {

namespace {

std::uint16_t le16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool startsWith(std::string_view bytes, std::string_view magic) {
  return bytes.substr(0, magic.size()) == magic;
}

// ICONDIR (reserved 0, type 1, count) then the first ICONDIRENTRY, whose width and height bytes
// count 0 as 256.
std::optional<PictureSize> iconSize(std::string_view bytes) {
  if (bytes.size() < 6 + 16) return std::nullopt;
  if (le16(bytes, 0) != 0 || le16(bytes, 2) != 1 || le16(bytes, 4) == 0) return std::nullopt;
  const auto side = [&](std::size_t at) {
    const auto value = static_cast<unsigned char>(bytes[at]);
    return static_cast<std::int32_t>(value == 0 ? 256 : value);
  };
  return PictureSize{side(6), side(7)};
}

std::int32_t le32(std::string_view bytes, std::size_t at) {
  const std::uint32_t value = static_cast<std::uint32_t>(le16(bytes, at)) |
                              (static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16);
  return static_cast<std::int32_t>(value);
}

// The bitmap file header, then the size of the info header that follows and the picture's
// width and height: 16-bit in the old 12-byte header, 32-bit (negative height: rows stored top
// down) in every later one. Read here because the decoder refuses run-length bitmaps and
// reports top-down ones with a negative height.
std::optional<PictureSize> bitmapSize(std::string_view bytes) {
  if (bytes.size() < 14 + 12 || !startsWith(bytes, "BM")) return std::nullopt;
  const std::int32_t infoSize = le32(bytes, 14);
  if (infoSize == 12) {
    const PictureSize size{le16(bytes, 18), le16(bytes, 20)};
    if (size.Width == 0 || size.Height == 0) return std::nullopt;
    return size;
  }
  if (infoSize < 40 || bytes.size() < 14 + 40) return std::nullopt;
  const std::int32_t width = le32(bytes, 18);
  const std::int32_t height = le32(bytes, 22);
  if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
    return std::nullopt;
  return PictureSize{width, height < 0 ? -height : height};
}

bool hasSignature(std::string_view bytes, PictureFormat format) {
  switch (format) {
  case PictureFormat::Jpeg:
    return startsWith(bytes, "\xFF\xD8\xFF");
  case PictureFormat::Gif:
    return startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a");
  case PictureFormat::Icon:
  case PictureFormat::Bitmap:
    break;
  }
  return false;
}

} // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string extension = fileName.substr(dot + 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  if (extension == "ico") return PictureFormat::Icon;
  if (extension == "bmp") return PictureFormat::Bitmap;
  if (extension == "jpg" || extension == "jpeg") return PictureFormat::Jpeg;
  if (extension == "gif") return PictureFormat::Gif;
  return std::nullopt;
}

std::optional<PictureSize> PictureSizeOf(std::string_view bytes, PictureFormat format) {
  if (format == PictureFormat::Icon) return iconSize(bytes);
  if (format == PictureFormat::Bitmap) return bitmapSize(bytes);
  if (!hasSignature(bytes, format) || bytes.size() > INT_MAX) return std::nullopt;
  int width = 0;
  int height = 0;
  int components = 0;
  if (!stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                             static_cast<int>(bytes.size()), &width, &height, &components) ||
      width <= 0 || height <= 0)
    return std::nullopt;
  return PictureSize{width, height};
}

bool TImage::LoadFromFile(const std::string& path) {
  const std::optional<PictureFormat> format = PictureFormatOf(path);
  if (!format) return false;
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return false;
  const std::optional<PictureSize> size = PictureSizeOf(*bytes, *format);
  if (!size) return false;
  Picture = TPicture{std::string(), path, size->Width, size->Height};
  if (AutoSize) {
    Width = size->Width;
    Height = size->Height;
  }
  return true;
}

} // namespace app
