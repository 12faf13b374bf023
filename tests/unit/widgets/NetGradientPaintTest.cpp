// The banner's picture: exact band edges and colours, direction, narrow controls, the caption.
#include "widgets/NetGradient.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "unit/widgets/RecordingCanvas.h"

namespace {

using widgets::PixelBuffer;
using widgets::rgbColor;
using widgets::TColor;
using widgets::TNetGradient;
using widgets::testing::RecordingCanvas;

class BannerPicture : public ::testing::Test {
protected:
  BannerPicture() { banner.SetHost(&canvas); }

  void configure(std::int32_t width, std::int32_t height, std::int32_t bands, TColor begin,
                 TColor end, widgets::TFillDirection direction = widgets::fdLeftToRight) {
    banner.SetBounds(0, 0, width, height);
    banner.SetNumberOfColors(bands);
    banner.SetBeginColor(begin);
    banner.SetEndColor(end);
    banner.SetFillDirection(direction);
  }

  // Runs the paint handler once and returns the bitmap it copied to the surface.
  PixelBuffer paint() {
    canvas.clear();
    banner.Paint();
    EXPECT_EQ(canvas.bitmaps.size(), 1u);
    if (canvas.bitmaps.empty()) return PixelBuffer(0, 0);
    EXPECT_EQ(canvas.bitmaps[0].x, 0);
    EXPECT_EQ(canvas.bitmaps[0].y, 0);
    EXPECT_EQ(canvas.bitmaps[0].bitmap.width(), banner.Width());
    EXPECT_EQ(canvas.bitmaps[0].bitmap.height(), banner.Height());
    return canvas.bitmaps[0].bitmap;
  }

  // The colours of row 0, one per column.
  static std::vector<TColor> row(const PixelBuffer& bitmap, std::int32_t y = 0) {
    std::vector<TColor> colours;
    for (std::int32_t x = 0; x < bitmap.width(); ++x) colours.push_back(bitmap.pixel(x, y));
    return colours;
  }

  static void expectEveryRowLikeTheFirst(const PixelBuffer& bitmap) {
    const auto first = row(bitmap);
    for (std::int32_t y = 1; y < bitmap.height(); ++y) ASSERT_EQ(row(bitmap, y), first) << y;
  }

  RecordingCanvas canvas;
  TNetGradient banner;
};

// A column-by-column model of the bands, written from the rules with plain rational rounding:
// band i covers the columns from round(i*W/N) up to round((i+1)*W/N), later bands win, and each
// channel moves round(i*diff/(N-1)) from the start colour.
std::vector<TColor> modelColumns(std::int32_t width, std::int32_t bands, TColor start, TColor end) {
  auto edge = [&](std::int64_t i) {
    return static_cast<std::int32_t>((2 * i * width + bands) / (2 * bands));
  };
  auto channel = [&](std::int32_t shift, std::int32_t i) {
    const int from = static_cast<int>((start >> shift) & 0xFF);
    const int to = static_cast<int>((end >> shift) & 0xFF);
    if (bands == 1) return static_cast<TColor>(from);
    const double step = static_cast<double>(i) * (to - from) / (bands - 1);
    return static_cast<TColor>(from + std::lround(step));
  };
  std::vector<TColor> columns(static_cast<std::size_t>(width), 0xDEADBEEF);
  for (std::int32_t i = 0; i < bands; ++i) {
    const TColor colour = channel(0, i) | channel(8, i) << 8 | channel(16, i) << 16;
    for (std::int32_t x = edge(i); x < edge(i + 1); ++x)
      columns[static_cast<std::size_t>(x)] = colour;
  }
  return columns;
}

TEST_F(BannerPicture, OneBandIsTheStartColourEverywhere) {
  configure(10, 3, 1, rgbColor(10, 20, 30), rgbColor(200, 100, 50));
  const auto bitmap = paint();
  EXPECT_EQ(row(bitmap), std::vector<TColor>(10, rgbColor(10, 20, 30)));
  expectEveryRowLikeTheFirst(bitmap);
}

TEST_F(BannerPicture, TwoBandsSplitAtTheRoundedMiddle) {
  // Band 1 starts at round(5 / 2) = 3.
  configure(5, 2, 2, rgbColor(10, 20, 30), rgbColor(200, 100, 50));
  const auto bitmap = paint();
  const TColor s = rgbColor(10, 20, 30), e = rgbColor(200, 100, 50);
  EXPECT_EQ(row(bitmap), (std::vector<TColor>{s, s, s, e, e}));
  expectEveryRowLikeTheFirst(bitmap);
}

TEST_F(BannerPicture, RightToLeftStartsFromTheEndColour) {
  configure(6, 1, 3, rgbColor(0, 100, 200), rgbColor(200, 100, 0), widgets::fdRightToLeft);
  const TColor end = rgbColor(200, 100, 0), middle = rgbColor(100, 100, 100),
               begin = rgbColor(0, 100, 200);
  EXPECT_EQ(row(paint()), (std::vector<TColor>{end, end, middle, middle, begin, begin}));
}

TEST_F(BannerPicture, ColourStepsRoundHalvesAwayFromZeroInBothDirections) {
  // The middle band is half a step from each end: red falls 1 -> 0, green rises 0 -> 1.
  configure(3, 1, 3, rgbColor(1, 0, 0), rgbColor(0, 1, 0));
  EXPECT_EQ(row(paint()),
            (std::vector<TColor>{rgbColor(1, 0, 0), rgbColor(0, 1, 0), rgbColor(0, 1, 0)}));
}

TEST_F(BannerPicture, EqualColoursGiveAPlainFill) {
  configure(433, 4, 255, rgbColor(87, 118, 168), rgbColor(87, 118, 168));
  const auto bitmap = paint();
  EXPECT_EQ(row(bitmap), std::vector<TColor>(433, rgbColor(87, 118, 168)));
  expectEveryRowLikeTheFirst(bitmap);
}

TEST_F(BannerPicture, NarrowRuleShowsTheLastBandCoveringEachColumn) {
  // The 72 x 1 rule under the link line, from a light grey to RGB(151,103,13), 255 bands.
  const TColor start = rgbColor(240, 240, 240), end = rgbColor(151, 103, 13);
  configure(72, 1, 255, start, end);
  const auto columns = row(paint());
  EXPECT_EQ(columns, modelColumns(72, 255, start, end));
  // Band 0 is [0,0) and fills nothing; band 1 is [0,1): 240 + round(-89/254, -137/254, -227/254).
  EXPECT_EQ(columns[0], rgbColor(240, 239, 239));
  // Band 254 is [72,72) and fills nothing; band 253 is [round(71.44), round(71.72)) = [71,72)
  // and shows 240 - round(253*89/254), 240 - round(253*137/254), 240 - round(253*227/254).
  EXPECT_EQ(columns[71], rgbColor(151, 104, 14));
  EXPECT_NE(columns[71], end);
}

TEST_F(BannerPicture, HeaderBannerExample) {
  // 433 x 49 from RGB(183,194,217) to white; band i spans round(i*433/255) to
  // round((i+1)*433/255); its channels are 183 + round(i*72/254), 194 + round(i*61/254),
  // 217 + round(i*38/254).
  configure(433, 49, 255, rgbColor(183, 194, 217), widgets::clWhite);
  const auto bitmap = paint();
  struct Column {
    std::int32_t x;
    TColor colour;
  };
  const Column spots[] = {
      {0, rgbColor(183, 194, 217)},   // band 0 = [0, 2)
      {1, rgbColor(183, 194, 217)},   // band 0
      {2, rgbColor(183, 194, 217)},   // band 1 = [2, 3): every step still rounds to 0
      {3, rgbColor(184, 194, 217)},   // band 2 = [3, 5): red 144/254 = 0.57 -> 1
      {100, rgbColor(200, 208, 226)}, // band 59 = [100, 102): 16.72, 14.17, 8.83
      {216, rgbColor(219, 225, 236)}, // band 127 = [216, 217): 36, 30.5 -> 31, 19
      {300, rgbColor(233, 236, 243)}, // band 176 = [299, 301): 49.89, 42.27, 26.33
      {430, widgets::clWhite},        // band 253 = [430, 431): 71.72 -> 72
      {432, widgets::clWhite},        // band 254 = [431, 433)
  };
  for (const auto& spot : spots) EXPECT_EQ(bitmap.pixel(spot.x, 0), spot.colour) << spot.x;
  EXPECT_EQ(row(bitmap), modelColumns(433, 255, rgbColor(183, 194, 217), widgets::clWhite));
  expectEveryRowLikeTheFirst(bitmap);
}

TEST_F(BannerPicture, EmptyControlDrawsAnEmptyBitmap) {
  configure(0, 0, 255, rgbColor(1, 2, 3), rgbColor(4, 5, 6));
  const auto bitmap = paint();
  EXPECT_TRUE(bitmap.pixels().empty());
}

TEST_F(BannerPicture, CaptionIsWrittenOverTheBandsOnlyWhenNotEmpty) {
  configure(20, 10, 2, rgbColor(1, 2, 3), rgbColor(4, 5, 6));
  paint();
  EXPECT_EQ(canvas.events, (std::vector<std::string>{"bitmap"}));

  banner.SetTextLeft(7);
  banner.SetTextTop(-3);
  banner.Font()->Name = "Arial";
  banner.Font()->Color = widgets::clWhite;
  banner.SetCaption("Welcome");
  paint();
  EXPECT_EQ(canvas.events, (std::vector<std::string>{"bitmap", "text"}));
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_EQ(canvas.texts[0].x, 7);
  EXPECT_EQ(canvas.texts[0].y, -3);
  EXPECT_EQ(canvas.texts[0].text, "Welcome");
  EXPECT_EQ(canvas.texts[0].font, *banner.Font());
  EXPECT_EQ(canvas.texts[0].font.Name, "Arial");
}

TEST_F(BannerPicture, NothingIsDrawnWithoutASurfaceOrWhileHidden) {
  configure(8, 2, 2, rgbColor(1, 2, 3), rgbColor(4, 5, 6));
  banner.SetCaption("x");

  banner.SetVisible(false);
  canvas.clear();
  banner.Paint();
  banner.SetBeginColor(rgbColor(9, 9, 9));
  EXPECT_TRUE(canvas.events.empty());

  banner.SetVisible(true);
  banner.SetHost(nullptr);
  canvas.clear();
  banner.Paint();
  banner.SetEndColor(rgbColor(9, 9, 9));
  banner.SetCaption("y");
  EXPECT_TRUE(canvas.events.empty());
}

} // namespace
