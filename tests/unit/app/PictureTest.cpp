// Picture sizes by format, image controls loading files, and the logo fit of the header.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/Installer.h"
#include "app/Picture.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::PictureFormat;
using app::PictureSize;

void put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::string bitmap(std::int32_t width, std::int32_t height, std::uint32_t compression = 0) {
  std::string out = "BM";
  put32(out, 54);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);
  put16(out, compression == 1 ? 8 : 24);
  put32(out, compression);
  for (int i = 0; i < 5; ++i) put32(out, 0);
  return out;
}

std::string oldBitmap(std::uint16_t width, std::uint16_t height) {
  std::string out = "BM";
  put32(out, 26);
  put32(out, 0);
  put32(out, 26);
  put32(out, 12);
  put16(out, width);
  put16(out, height);
  put16(out, 1);
  put16(out, 24);
  return out;
}

std::string gif(std::uint16_t width, std::uint16_t height) {
  std::string out = "GIF89a";
  put16(out, width);
  put16(out, height);
  out += std::string("\0\0\0", 3);
  return out;
}

// Start of image, then a baseline frame header for three components.
std::string jpeg(std::uint16_t width, std::uint16_t height) {
  std::string out = "\xFF\xD8\xFF\xC0";
  out += std::string("\x00\x11\x08", 3);
  out.push_back(static_cast<char>(height >> 8));
  out.push_back(static_cast<char>(height & 0xFF));
  out.push_back(static_cast<char>(width >> 8));
  out.push_back(static_cast<char>(width & 0xFF));
  out += std::string("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
  return out;
}

std::string icon(std::uint8_t width, std::uint8_t height, std::uint16_t type = 1) {
  std::string out;
  put16(out, 0);
  put16(out, type);
  put16(out, 1);
  out.push_back(static_cast<char>(width));
  out.push_back(static_cast<char>(height));
  out += std::string(14, '\0');
  return out;
}

struct SizeCase {
  const char* name;
  std::string bytes;
  PictureFormat format;
  std::optional<PictureSize> expected;
};

TEST(PictureSize, ReadsEachFormatAndRefusesWhatIsNotOne) {
  const SizeCase cases[] = {
      {"bitmap", bitmap(200, 100), PictureFormat::Bitmap, PictureSize{200, 100}},
      {"top-down bitmap", bitmap(60, -43), PictureFormat::Bitmap, PictureSize{60, 43}},
      {"run-length bitmap", bitmap(16, 16, 1), PictureFormat::Bitmap, PictureSize{16, 16}},
      {"old bitmap header", oldBitmap(30, 20), PictureFormat::Bitmap, PictureSize{30, 20}},
      {"bitmap cut short", bitmap(200, 100).substr(0, 20), PictureFormat::Bitmap, std::nullopt},
      {"bitmap of width 0", bitmap(0, 10), PictureFormat::Bitmap, std::nullopt},
      {"gif", gif(120, 44), PictureFormat::Gif, PictureSize{120, 44}},
      {"jpeg", jpeg(640, 480), PictureFormat::Jpeg, PictureSize{640, 480}},
      {"icon", icon(48, 48), PictureFormat::Icon, PictureSize{48, 48}},
      {"icon of 256", icon(0, 0), PictureFormat::Icon, PictureSize{256, 256}},
      {"cursor file", icon(32, 32, 2), PictureFormat::Icon, std::nullopt},
      {"icon cut short", icon(32, 32).substr(0, 10), PictureFormat::Icon, std::nullopt},
      // The extension decides the format, as when the window loads the file.
      {"gif named .bmp", gif(10, 10), PictureFormat::Bitmap, std::nullopt},
      {"bitmap named .jpg", bitmap(10, 10), PictureFormat::Jpeg, std::nullopt},
      {"jpeg named .gif", jpeg(10, 10), PictureFormat::Gif, std::nullopt},
      {"empty", std::string(), PictureFormat::Gif, std::nullopt},
  };
  for (const SizeCase& c : cases)
    EXPECT_EQ(app::PictureSizeOf(c.bytes, c.format), c.expected) << c.name;
}

TEST(PictureSize, FormatFollowsTheExtension) {
  EXPECT_EQ(app::PictureFormatOf("c:\\a\\logo.BMP"), PictureFormat::Bitmap);
  EXPECT_EQ(app::PictureFormatOf("logo.jpg"), PictureFormat::Jpeg);
  EXPECT_EQ(app::PictureFormatOf("logo.jpeg"), PictureFormat::Jpeg);
  EXPECT_EQ(app::PictureFormatOf("logo.gif"), PictureFormat::Gif);
  EXPECT_EQ(app::PictureFormatOf("setup.ico"), PictureFormat::Icon);
  EXPECT_EQ(app::PictureFormatOf("logo.png"), std::nullopt);
  EXPECT_EQ(app::PictureFormatOf("logo"), std::nullopt);
}

TEST(ImageControl, TakesThePictureSizeOrStaysAsItWas) {
  testing_ui::ScriptedUi ui;
  testing_ui::Scratch scratch;
  const std::string good = scratch.folder() + "\\logo.gif";
  const std::string bad = scratch.folder() + "\\bad.gif";
  scratch.writeFile(good, gif(200, 100));
  scratch.writeFile(bad, "not a picture");
  app::TForm1 form;

  EXPECT_FALSE(form.Image2.LoadFromFile(bad));
  EXPECT_EQ(form.Image2.Picture.BuiltIn, "logo");
  EXPECT_EQ(form.Image2.Width, 60);
  EXPECT_FALSE(form.Image2.LoadFromFile(scratch.folder() + "\\missing.gif"));

  EXPECT_TRUE(form.Image2.LoadFromFile(good));
  EXPECT_EQ(form.Image2.Picture.FileName, good);
  EXPECT_EQ(form.Image2.Width, 200);
  EXPECT_EQ(form.Image2.Height, 100);

  // Without AutoSize the control keeps its size and only the picture changes.
  form.Image1.AutoSize = false;
  EXPECT_TRUE(form.Image1.LoadFromFile(good));
  EXPECT_EQ(form.Image1.Width, 32);
  EXPECT_EQ(form.Image1.Picture.Width, 200);
}

struct FitCase {
  std::int32_t width, height;
  std::int32_t fittedWidth, fittedHeight, left;
  bool linkVisible;
};

TEST(LogoFit, ShrinksTallLogosToTheHeaderAndAlignsRight) {
  const FitCase cases[] = {
      {60, 43, 60, 43, 435, true},   // the built-in logo
      {100, 43, 100, 43, 395, true}, // exactly as high as the header: kept
      {200, 100, 86, 43, 409, false}, {1, 86, 0, 43, 495, false}, // 0.5 rounds to the even 0
      {3, 86, 2, 43, 493, false},                                 // 1.5 rounds to the even 2
      {5, 86, 2, 43, 493, false},                                 // 2.5 rounds to the even 2
      {7, 86, 4, 43, 491, false},                                 // 3.5 rounds to 4
      {100, 44, 98, 43, 397, false},                              // 97.727... rounds to 98
      {40, 10, 40, 10, 455, true},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    testing_ui::ScriptedUi ui;
    app::TForm1 form;
    form.Image2.Width = c.width;
    form.Image2.Height = c.height;
    form.FitLogo();
    EXPECT_EQ(form.Image2.Width, c.fittedWidth);
    EXPECT_EQ(form.Image2.Height, c.fittedHeight);
    EXPECT_EQ(form.Image2.Left, c.left);
    EXPECT_EQ(form.RxLabel1.Visible, c.linkVisible);
    EXPECT_EQ(form.Image2.AutoSize, c.linkVisible);
    EXPECT_TRUE(form.Image2.Stretch);
  }
}

} // namespace
