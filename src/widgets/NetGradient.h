// TNetGradient: a windowless banner that fills its rectangle with a horizontal gradient of
// vertical colour bands and may write a one-line caption over it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "widgets/Canvas.h"
#include "widgets/Graphics.h"
#include "widgets/PixelBuffer.h"

namespace widgets {

enum TFillDirection { fdLeftToRight, fdRightToLeft };

// The properties a form resource holds for one banner. An absent value was not stored; on
// loading such a property keeps the value the control was given at creation.
struct NetGradientResource {
  std::optional<std::int32_t> Left;
  std::optional<std::int32_t> Top;
  std::optional<std::int32_t> Width;
  std::optional<std::int32_t> Height;
  std::optional<bool> Visible;
  std::optional<bool> AutoSize;
  std::optional<TColor> BeginColor;
  std::optional<TColor> EndColor;
  std::optional<TFillDirection> FillDirection;
  std::optional<std::int32_t> NumberOfColors;
  std::optional<TFont> Font;
  std::optional<std::string> Caption;
  std::optional<std::int32_t> TextTop;
  std::optional<std::int32_t> TextLeft;
  bool operator==(const NetGradientResource&) const = default;
};

class TNetGradient {
public:
  // Declared defaults: a property equal to one of these is left out of a form resource.
  static constexpr TFillDirection DefaultFillDirection = fdLeftToRight;
  static constexpr TColor DefaultBeginColor = clBlue;
  static constexpr TColor DefaultEndColor = clBlack;
  static constexpr bool DefaultAutoSize = false;
  static constexpr std::int32_t DefaultNumberOfColors = 255;

  // Values a new control starts with. The colours differ from the declared defaults, so a
  // blue begin colour or a black end colour does not survive a trip through a form resource.
  static constexpr TColor CreationBeginColor = clGray;
  static constexpr TColor CreationEndColor = clBtnFace;
  static constexpr std::int32_t CreationTextTop = 5;
  static constexpr std::int32_t CreationTextLeft = 12;
  static constexpr std::int32_t CreationWidth = 400;
  static constexpr std::int32_t CreationHeight = 25;

  static constexpr std::int32_t MinNumberOfColors = 1;
  static constexpr std::int32_t MaxNumberOfColors = 255;

  TNetGradient();
  TNetGradient(const TNetGradient&) = delete;
  TNetGradient& operator=(const TNetGradient&) = delete;

  // The surface the control draws on, or nullptr while it has no parent. Without a surface
  // (and while hidden) drawing and repaint requests are skipped.
  void SetHost(Canvas* host) { host_ = host; }
  Canvas* Host() const { return host_; }

  // Bounds and visibility; a change asks for a repaint.
  std::int32_t Left() const { return left_; }
  std::int32_t Top() const { return top_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  TFillDirection FillDirection() const { return fillDirection_; }
  void SetFillDirection(TFillDirection value);
  TColor BeginColor() const { return beginColor_; }
  void SetBeginColor(TColor value);
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  std::int32_t NumberOfColors() const { return numberOfColors_; }
  // Values outside 1..255 are clamped into that range.
  void SetNumberOfColors(std::int32_t value);

  // The owned font. Changing its attributes through the pointer draws nothing; SetFont with
  // another font object copies that object's attributes and draws. SetFont(nullptr) throws
  // std::invalid_argument and changes nothing.
  TFont* Font() { return &font_; }
  const TFont* Font() const { return &font_; }
  void SetFont(const TFont* value);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  std::int32_t TextTop() const { return textTop_; }
  void SetTextTop(std::int32_t value);
  std::int32_t TextLeft() const { return textLeft_; }
  void SetTextLeft(std::int32_t value);

  // The paint handler: renders the bands off screen, copies them to the surface in one
  // operation and writes the caption over them.
  void Paint();
  // Asks the surface to repaint the control later.
  void Invalidate();

  // The off-screen bitmap of the bands for the current properties and system colours.
  PixelBuffer RenderBands() const;

  // What a form resource stores for this control, and loading such a resource into it.
  NetGradientResource storedProperties() const;
  void loadStored(const NetGradientResource& resource);

private:
  bool canDraw() const { return host_ != nullptr && visible_; }

  Canvas* host_{nullptr};
  std::int32_t left_{0};
  std::int32_t top_{0};
  std::int32_t width_{CreationWidth};
  std::int32_t height_{CreationHeight};
  bool visible_{true};
  TFillDirection fillDirection_{fdLeftToRight};
  TColor beginColor_{CreationBeginColor};
  TColor endColor_{CreationEndColor};
  bool autoSize_{false};
  std::int32_t numberOfColors_{255};
  TFont font_;
  std::string caption_;
  std::int32_t textTop_{CreationTextTop};
  std::int32_t textLeft_{CreationTextLeft};
};

} // namespace widgets
