// Colours and fonts as the window's controls describe them: TColor values and font attributes.
#pragma once

#include <cstdint>
#include <string>

namespace widgets {

// A colour as the controls store it. A value with the top bit set is a system colour whose low
// byte is the system colour index (clBtnFace = 0xFF00000F); any other value is 0x00BBGGRR.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;

constexpr TColor rgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return TColor{red} | (TColor{green} << 8) | (TColor{blue} << 16);
}
constexpr std::uint8_t redOf(TColor rgb) { return static_cast<std::uint8_t>(rgb & 0xFF); }
constexpr std::uint8_t greenOf(TColor rgb) { return static_cast<std::uint8_t>((rgb >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(TColor rgb) { return static_cast<std::uint8_t>((rgb >> 16) & 0xFF); }

constexpr bool isSystemColor(TColor color) { return (color & 0x80000000u) != 0; }

// The RGB value of a colour now: a system colour is looked up in the current system setting
// each time, so a banner follows the user's colour scheme at every drawing.
TColor ColorToRGB(TColor color);

struct TFontStyles {
  bool Bold{false};
  bool Italic{false};
  bool Underline{false};
  bool StrikeOut{false};
  bool operator==(const TFontStyles&) const = default;
};

// Font attributes; a control owns its own copy and takes others' attributes by assignment.
struct TFont {
  std::string Name{"MS Sans Serif"};
  std::int32_t Height{-11}; // negative: character height in pixels, as the system counts it
  TColor Color{clWindowText};
  TFontStyles Style{};
  bool operator==(const TFont&) const = default;
};

} // namespace widgets
