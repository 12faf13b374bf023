// An off-screen bitmap: a rectangle of 0x00BBGGRR pixels that can be filled and read back.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/Graphics.h"

namespace widgets {

class PixelBuffer {
public:
  // A bitmap of the given size (a negative size counts as 0), every pixel `fill`.
  PixelBuffer(std::int32_t width, std::int32_t height, TColor fill = clWhite);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }

  // The pixel at (x, y) as 0x00BBGGRR; throws std::out_of_range outside the bitmap.
  TColor pixel(std::int32_t x, std::int32_t y) const;

  // Fills [left, right) x [top, bottom) with an RGB colour (the top byte is ignored), clipped
  // to the bitmap; an empty or inverted rectangle fills nothing.
  void fillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                TColor rgb);

  // All pixels, row by row from the top, each 0x00BBGGRR.
  const std::vector<TColor>& pixels() const { return pixels_; }

private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<TColor> pixels_;
};

} // namespace widgets
