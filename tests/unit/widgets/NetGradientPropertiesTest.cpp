// The banner's properties: creation values, what each setter draws or marks, the clamped band
// count, the owned font, and the form-resource rule for declared defaults.
#include "widgets/NetGradient.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "unit/widgets/RecordingCanvas.h"

namespace {

using widgets::rgbColor;
using widgets::TNetGradient;
using widgets::testing::RecordingCanvas;
using Events = std::vector<std::string>;

TEST(BannerProperties, CreationValues) {
  const TNetGradient banner;
  EXPECT_EQ(banner.FillDirection(), widgets::fdLeftToRight);
  EXPECT_EQ(banner.BeginColor(), 8421504u); // grey, RGB(128,128,128)
  EXPECT_EQ(banner.BeginColor(), rgbColor(128, 128, 128));
  EXPECT_EQ(banner.EndColor(), 0xFF00000Fu); // the system's button face
  EXPECT_FALSE(banner.AutoSize());
  EXPECT_EQ(banner.NumberOfColors(), 255);
  EXPECT_TRUE(banner.Font()->Style.Bold);
  EXPECT_FALSE(banner.Font()->Style.Italic);
  EXPECT_EQ(banner.Caption(), "");
  EXPECT_EQ(banner.TextTop(), 5);
  EXPECT_EQ(banner.TextLeft(), 12);
  EXPECT_EQ(banner.Width(), 400);
  EXPECT_EQ(banner.Height(), 25);
  EXPECT_EQ(banner.Left(), 0);
  EXPECT_EQ(banner.Top(), 0);
  EXPECT_TRUE(banner.Visible());
  EXPECT_EQ(banner.Host(), nullptr);
}

TEST(BannerProperties, DeclaredDefaults) {
  EXPECT_EQ(TNetGradient::DefaultFillDirection, widgets::fdLeftToRight);
  EXPECT_EQ(TNetGradient::DefaultBeginColor, 16711680u); // pure blue
  EXPECT_EQ(TNetGradient::DefaultEndColor, 0u);          // black
  EXPECT_FALSE(TNetGradient::DefaultAutoSize);
  EXPECT_EQ(TNetGradient::DefaultNumberOfColors, 255);
}

class BannerSetters : public ::testing::Test {
protected:
  BannerSetters() {
    banner.SetCaption("Setup");
    banner.SetHost(&canvas);
  }
  RecordingCanvas canvas;
  TNetGradient banner;
};

TEST_F(BannerSetters, EachPropertyDrawsAndMarksAsItsRuleSays) {
  widgets::TFont other;
  other.Name = "Arial";
  widgets::TFont equal = *TNetGradient().Font(); // another object, the same attributes
  struct Case {
    const char* name;
    std::function<void(TNetGradient&)> set;
    std::function<bool(const TNetGradient&)> stored;
    Events expected;
  };
  const Case cases[] = {
      {"BeginColor",
       [](TNetGradient& b) { b.SetBeginColor(rgbColor(1, 2, 3)); },
       [](const TNetGradient& b) { return b.BeginColor() == rgbColor(1, 2, 3); },
       {"bitmap", "text", "invalidate"}},
      {"BeginColor unchanged",
       [](TNetGradient& b) { b.SetBeginColor(b.BeginColor()); },
       [](const TNetGradient& b) { return b.BeginColor() == widgets::clGray; },
       {"bitmap", "text", "invalidate"}},
      {"EndColor",
       [](TNetGradient& b) { b.SetEndColor(widgets::clWhite); },
       [](const TNetGradient& b) { return b.EndColor() == widgets::clWhite; },
       {"bitmap", "text", "invalidate"}},
      {"FillDirection changed",
       [](TNetGradient& b) { b.SetFillDirection(widgets::fdRightToLeft); },
       [](const TNetGradient& b) { return b.FillDirection() == widgets::fdRightToLeft; },
       {"bitmap", "text", "invalidate"}},
      {"FillDirection unchanged",
       [](TNetGradient& b) { b.SetFillDirection(widgets::fdLeftToRight); },
       [](const TNetGradient& b) { return b.FillDirection() == widgets::fdLeftToRight; },
       {}},
      {"NumberOfColors",
       [](TNetGradient& b) { b.SetNumberOfColors(7); },
       [](const TNetGradient& b) { return b.NumberOfColors() == 7; },
       {"invalidate"}},
      {"AutoSize",
       [](TNetGradient& b) { b.SetAutoSize(true); },
       [](const TNetGradient& b) { return b.AutoSize(); },
       {"invalidate"}},
      {"Font, another object",
       [&other](TNetGradient& b) { b.SetFont(&other); },
       [](const TNetGradient& b) { return b.Font()->Name == "Arial"; },
       {"bitmap", "text"}},
      {"Font, another object with equal attributes",
       [&equal](TNetGradient& b) { b.SetFont(&equal); },
       [&equal](const TNetGradient& b) { return *b.Font() == equal; },
       {"bitmap", "text"}},
      {"Font, its own object",
       [](TNetGradient& b) { b.SetFont(b.Font()); },
       [](const TNetGradient& b) { return b.Font()->Style.Bold; },
       {}},
      {"Caption",
       [](TNetGradient& b) { b.SetCaption("Hello"); },
       [](const TNetGradient& b) { return b.Caption() == "Hello"; },
       {"bitmap", "text"}},
      {"Caption emptied",
       [](TNetGradient& b) { b.SetCaption(""); },
       [](const TNetGradient& b) { return b.Caption().empty(); },
       {"bitmap"}},
      {"TextTop",
       [](TNetGradient& b) { b.SetTextTop(9); },
       [](const TNetGradient& b) { return b.TextTop() == 9; },
       {"bitmap", "text"}},
      {"TextLeft",
       [](TNetGradient& b) { b.SetTextLeft(-4); },
       [](const TNetGradient& b) { return b.TextLeft() == -4; },
       {"bitmap", "text"}},
  };
  for (const auto& c : cases) {
    TNetGradient fresh;
    fresh.SetCaption("Setup");
    fresh.SetHost(&canvas);
    canvas.clear();
    c.set(fresh);
    EXPECT_EQ(canvas.events, c.expected) << c.name;
    EXPECT_TRUE(c.stored(fresh)) << c.name;
  }
}

TEST_F(BannerSetters, TheDrawingUsesTheValueJustSet) {
  banner.SetNumberOfColors(1);
  canvas.clear();
  banner.SetBeginColor(rgbColor(9, 8, 7));
  ASSERT_EQ(canvas.bitmaps.size(), 1u);
  EXPECT_EQ(canvas.bitmaps[0].bitmap.pixel(0, 0), rgbColor(9, 8, 7));

  banner.SetCaption("Later");
  ASSERT_EQ(canvas.texts.size(), 2u);
  EXPECT_EQ(canvas.texts[1].text, "Later");
}

TEST_F(BannerSetters, FontAttributesAreCopiedNotShared) {
  widgets::TFont other;
  other.Name = "Arial";
  other.Height = -16;
  other.Color = widgets::clWhite;
  other.Style.Italic = true;
  banner.SetFont(&other);
  EXPECT_EQ(*banner.Font(), other);
  EXPECT_NE(banner.Font(), &other);

  other.Name = "Courier";
  EXPECT_EQ(banner.Font()->Name, "Arial");

  // Changing the owned font in place is not a property change and draws nothing.
  canvas.clear();
  banner.Font()->Height = -20;
  EXPECT_TRUE(canvas.events.empty());
}

TEST_F(BannerSetters, AnEmptyFontIsRefusedAndChangesNothing) {
  const widgets::TFont before = *banner.Font();
  canvas.clear();
  EXPECT_THROW(banner.SetFont(nullptr), std::invalid_argument);
  EXPECT_EQ(*banner.Font(), before);
  EXPECT_TRUE(canvas.events.empty());
}

TEST_F(BannerSetters, NumberOfColorsIsClampedToOneThrough255) {
  const struct {
    std::int32_t given, kept;
  } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {2, 2}, {254, 254}, {255, 255}, {256, 255}, {1000, 255}};
  for (const auto& c : cases) {
    banner.SetNumberOfColors(c.given);
    EXPECT_EQ(banner.NumberOfColors(), c.kept) << c.given;
  }
}

TEST_F(BannerSetters, BoundsAndVisibilityAskForARepaintOnlyWhenChanged) {
  canvas.clear();
  banner.SetBounds(0, 0, 400, 25);
  EXPECT_TRUE(canvas.events.empty());
  banner.SetBounds(432, 65, 72, 1);
  EXPECT_EQ(canvas.events, (Events{"invalidate"}));
  EXPECT_EQ(banner.Left(), 432);
  EXPECT_EQ(banner.Top(), 65);
  EXPECT_EQ(banner.Width(), 72);
  EXPECT_EQ(banner.Height(), 1);

  canvas.clear();
  banner.SetVisible(true);
  EXPECT_TRUE(canvas.events.empty());
  banner.SetVisible(false); // the area it covered must be repainted
  EXPECT_EQ(canvas.events, (Events{"invalidate"}));

  // A hidden banner neither draws nor asks for repaints.
  canvas.clear();
  banner.SetBeginColor(rgbColor(1, 1, 1));
  banner.SetNumberOfColors(3);
  EXPECT_TRUE(canvas.events.empty());
}

TEST(BannerResource, PropertiesEqualToTheirDeclaredDefaultAreNotStored) {
  TNetGradient banner;
  banner.SetBeginColor(widgets::clBlue);
  banner.SetEndColor(widgets::clBlack);
  const auto stored = banner.storedProperties();
  EXPECT_FALSE(stored.BeginColor.has_value());
  EXPECT_FALSE(stored.EndColor.has_value());
  EXPECT_FALSE(stored.FillDirection.has_value());
  EXPECT_FALSE(stored.NumberOfColors.has_value());
  EXPECT_FALSE(stored.AutoSize.has_value());
  EXPECT_FALSE(stored.Caption.has_value());
  EXPECT_FALSE(stored.Visible.has_value());
  // Properties without a declared default are always written.
  EXPECT_EQ(stored.TextTop, 5);
  EXPECT_EQ(stored.TextLeft, 12);
  EXPECT_EQ(stored.Font, *banner.Font());
  EXPECT_EQ(stored.Width, 400);
}

TEST(BannerResource, BlueAndBlackComeBackAsGreyAndButtonFace) {
  TNetGradient saved;
  saved.SetBeginColor(widgets::clBlue);
  saved.SetEndColor(widgets::clBlack);
  TNetGradient loaded;
  loaded.loadStored(saved.storedProperties());
  EXPECT_EQ(loaded.BeginColor(), widgets::clGray);
  EXPECT_EQ(loaded.EndColor(), widgets::clBtnFace);
}

TEST(BannerResource, OtherValuesSurviveARoundTrip) {
  TNetGradient saved;
  saved.SetBounds(0, 0, 433, 49);
  saved.SetBeginColor(rgbColor(183, 194, 217));
  saved.SetEndColor(widgets::clWhite);
  saved.SetFillDirection(widgets::fdRightToLeft);
  saved.SetNumberOfColors(3);
  saved.SetAutoSize(true);
  saved.SetVisible(false);
  widgets::TFont font;
  font.Name = "Arial";
  font.Style.Italic = true;
  saved.SetFont(&font);
  saved.SetCaption("Title");
  saved.SetTextTop(0);
  saved.SetTextLeft(40);

  TNetGradient loaded;
  loaded.loadStored(saved.storedProperties());
  EXPECT_EQ(loaded.storedProperties(), saved.storedProperties());
  EXPECT_EQ(loaded.Width(), 433);
  EXPECT_EQ(loaded.Height(), 49);
  EXPECT_EQ(loaded.BeginColor(), rgbColor(183, 194, 217));
  EXPECT_EQ(loaded.EndColor(), widgets::clWhite);
  EXPECT_EQ(loaded.FillDirection(), widgets::fdRightToLeft);
  EXPECT_EQ(loaded.NumberOfColors(), 3);
  EXPECT_TRUE(loaded.AutoSize());
  EXPECT_FALSE(loaded.Visible());
  EXPECT_EQ(*loaded.Font(), font);
  EXPECT_EQ(loaded.Caption(), "Title");
  EXPECT_EQ(loaded.TextTop(), 0);
  EXPECT_EQ(loaded.TextLeft(), 40);
}

} // namespace
