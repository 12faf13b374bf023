// On a real system the banner draws a system colour as the value the system reports now.
#include "widgets/NetGradient.h"

#include <gtest/gtest.h>

#include "platform/System.h"
#include "unit/widgets/RecordingCanvas.h"

namespace {

TEST(BannerLiveColour, ButtonFaceIsDrawnAsTheSystemReportsIt) {
  widgets::testing::RecordingCanvas canvas;
  widgets::TNetGradient banner;
  banner.SetHost(&canvas);
  banner.SetBounds(0, 0, 3, 1);
  banner.SetNumberOfColors(2);
  banner.SetBeginColor(widgets::clBtnFace);
  banner.SetEndColor(widgets::rgbColor(151, 103, 13));
  canvas.clear();
  banner.Paint();
  const auto& bitmap = canvas.bitmaps.at(0).bitmap;
  const widgets::TColor buttonFace = platform::systemColor(platform::syscolor::BtnFace) & 0xFFFFFF;
  EXPECT_EQ(bitmap.pixel(0, 0), buttonFace);
  EXPECT_EQ(bitmap.pixel(1, 0), buttonFace);
  EXPECT_EQ(bitmap.pixel(2, 0), widgets::rgbColor(151, 103, 13));
}

} // namespace
