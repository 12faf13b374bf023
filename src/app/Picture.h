// The size of a picture file in the formats the image controls load, chosen by extension.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

struct PictureSize {
  std::int32_t Width{0};
  std::int32_t Height{0};
  bool operator==(const PictureSize&) const = default;
};

enum class PictureFormat { Icon, Bitmap, Jpeg, Gif };

// The format a file name's extension names (case-insensitively); nothing for other extensions.
std::optional<PictureFormat> PictureFormatOf(const std::string& fileName);

// The size of a picture held in `bytes`, which must be of `format` (not merely any picture);
// nothing when the bytes are not such a picture. An icon's size is that of its first image.
std::optional<PictureSize> PictureSizeOf(std::string_view bytes, PictureFormat format);

} // namespace app
