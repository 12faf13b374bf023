// The off-screen bitmap: fills exclude their right and bottom edges and are clipped.
#include "widgets/PixelBuffer.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

using widgets::PixelBuffer;

// The bitmap as rows of '.' (background) and '#' (filled).
std::string picture(const PixelBuffer& bitmap, widgets::TColor filled) {
  std::string text;
  for (std::int32_t y = 0; y < bitmap.height(); ++y) {
    for (std::int32_t x = 0; x < bitmap.width(); ++x)
      text += bitmap.pixel(x, y) == filled ? '#' : '.';
    text += '\n';
  }
  return text;
}

TEST(PixelBuffer, FillsHalfOpenRectanglesClippedToTheBitmap) {
  const struct {
    std::int32_t left, top, right, bottom;
    const char* expected;
  } cases[] = {
      {1, 1, 3, 2, "....\n.##.\n....\n"},
      {-5, -5, 1, 1, "#...\n....\n....\n"},
      {3, 2, 99, 99, "....\n....\n...#\n"},
      {2, 0, 2, 3, "....\n....\n....\n"}, // equal edges fill nothing
      {3, 0, 1, 3, "....\n....\n....\n"}, // inverted
      {0, 0, 4, 3, "####\n####\n####\n"},
  };
  for (const auto& c : cases) {
    PixelBuffer bitmap(4, 3, widgets::clWhite);
    bitmap.fillRect(c.left, c.top, c.right, c.bottom, widgets::rgbColor(1, 2, 3));
    EXPECT_EQ(picture(bitmap, widgets::rgbColor(1, 2, 3)), c.expected)
        << c.left << "," << c.top << "," << c.right << "," << c.bottom;
  }
}

TEST(PixelBuffer, StoresPlainRgbWithoutTheTopByte) {
  PixelBuffer bitmap(2, 1, 0xFF123456);
  EXPECT_EQ(bitmap.pixel(0, 0), 0x123456u);
  bitmap.fillRect(1, 0, 2, 1, 0x80ABCDEF);
  EXPECT_EQ(bitmap.pixel(1, 0), 0xABCDEFu);
}

TEST(PixelBuffer, ReadingOutsideThrowsAndNegativeSizesAreEmpty) {
  const PixelBuffer bitmap(2, 2);
  EXPECT_THROW((void)bitmap.pixel(2, 0), std::out_of_range);
  EXPECT_THROW((void)bitmap.pixel(0, -1), std::out_of_range);
  const PixelBuffer empty(-3, 5);
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.height(), 5);
  EXPECT_TRUE(empty.pixels().empty());
}

} // namespace
