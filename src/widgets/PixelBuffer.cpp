// An off-screen bitmap of 0x00BBGGRR pixels with clipped rectangle fills.
#include "widgets/PixelBuffer.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace widgets {

PixelBuffer::PixelBuffer(std::int32_t width, std::int32_t height, TColor fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              fill & 0xFFFFFF) {}

TColor PixelBuffer::pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("pixel outside the bitmap");
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void PixelBuffer::fillRect(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom, TColor rgb) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  const TColor value = rgb & 0xFFFFFF;
  for (std::int32_t y = top; y < bottom; ++y) {
    auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + left, row + right, value);
  }
}

} // namespace widgets
