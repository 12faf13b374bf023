// The banner follows the machine's colour scheme: a system colour is looked up at every drawing.
#include "widgets/NetGradient.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>

#include "platform/System.h"
#include "platform/posix/Machine.h"
#include "unit/widgets/RecordingCanvas.h"

namespace {

using widgets::rgbColor;
using widgets::TColor;

class BannerSystemColour : public ::testing::Test {
protected:
  BannerSystemColour() {
    // A fresh machine per test; the random part keeps parallel runs apart.
    root = std::filesystem::temp_directory_path() /
           ("qf-widgets-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(root);
    platform::posix::Machine::instance().reset(root);
    banner.SetHost(&canvas);
    banner.SetBounds(0, 0, 137, 1); // the 137 x 1 rule: button face to RGB(151,103,13)
    banner.SetEndColor(rgbColor(151, 103, 13));
    banner.SetBeginColor(widgets::clBtnFace);
  }
  ~BannerSystemColour() override {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  // Left and right edge of the next drawing.
  std::pair<TColor, TColor> paintEdges() {
    canvas.clear();
    banner.Paint();
    const auto& bitmap = canvas.bitmaps.at(0).bitmap;
    return {bitmap.pixel(0, 0), bitmap.pixel(bitmap.width() - 1, 0)};
  }

  std::filesystem::path root;
  widgets::testing::RecordingCanvas canvas;
  widgets::TNetGradient banner;
};

TEST_F(BannerSystemColour, ButtonFaceIsReadAtEveryDrawing) {
  auto& machine = platform::posix::Machine::instance();
  machine.setSystemColor(platform::syscolor::BtnFace, rgbColor(10, 20, 30));
  EXPECT_EQ(paintEdges(), std::make_pair(rgbColor(10, 20, 30), rgbColor(151, 103, 13)));

  // No property changes between the drawings: only the scheme does.
  machine.setSystemColor(platform::syscolor::BtnFace, rgbColor(200, 150, 100));
  EXPECT_EQ(paintEdges(), std::make_pair(rgbColor(200, 150, 100), rgbColor(151, 103, 13)));
}

TEST_F(BannerSystemColour, RightToLeftPutsTheSystemColourOnTheRight) {
  platform::posix::Machine::instance().setSystemColor(platform::syscolor::BtnFace,
                                                      rgbColor(1, 2, 3));
  banner.SetFillDirection(widgets::fdRightToLeft);
  EXPECT_EQ(paintEdges(), std::make_pair(rgbColor(151, 103, 13), rgbColor(1, 2, 3)));
}

TEST_F(BannerSystemColour, OtherSystemColoursUseTheirOwnIndex) {
  auto& machine = platform::posix::Machine::instance();
  machine.setSystemColor(platform::syscolor::WindowText, rgbColor(7, 7, 7));
  machine.setSystemColor(platform::syscolor::BtnFace, rgbColor(9, 9, 9));
  banner.SetEndColor(widgets::clWindowText);
  EXPECT_EQ(paintEdges(), std::make_pair(rgbColor(9, 9, 9), rgbColor(7, 7, 7)));
}

} // namespace
