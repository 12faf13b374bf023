// TNetGradient: property setters with their draw/repaint rules, the band routine, and the
// form-resource rule for declared defaults.
#include "widgets/NetGradient.h"

#include <algorithm>
#include <stdexcept>

#include "widgets/MulDiv.h"

namespace widgets {

TNetGradient::TNetGradient() { font_.Style.Bold = true; }

void TNetGradient::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                             std::int32_t height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
}

void TNetGradient::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  // The area under the control needs repainting whether it appears or disappears.
  if (host_ != nullptr) host_->invalidate();
}

void TNetGradient::SetFillDirection(TFillDirection value) {
  if (value == fillDirection_) return;
  fillDirection_ = value;
  Paint();
  Invalidate();
}

void TNetGradient::SetBeginColor(TColor value) {
  beginColor_ = value;
  Paint();
  Invalidate();
}

void TNetGradient::SetEndColor(TColor value) {
  endColor_ = value;
  Paint();
  Invalidate();
}

void TNetGradient::SetAutoSize(bool value) {
  autoSize_ = value;
  Invalidate();
}

void TNetGradient::SetNumberOfColors(std::int32_t value) {
  numberOfColors_ = std::clamp(value, MinNumberOfColors, MaxNumberOfColors);
  Invalidate();
}

void TNetGradient::SetFont(const TFont* value) {
  if (value == nullptr) throw std::invalid_argument("a banner's font cannot be empty");
  if (value == &font_) return;
  font_ = *value;
  Paint();
}

void TNetGradient::SetCaption(const std::string& value) {
  caption_ = value;
  Paint();
}

void TNetGradient::SetTextTop(std::int32_t value) {
  textTop_ = value;
  Paint();
}

void TNetGradient::SetTextLeft(std::int32_t value) {
  textLeft_ = value;
  Paint();
}

void TNetGradient::Invalidate() {
  if (canDraw()) host_->invalidate();
}

void TNetGradient::Paint() {
  // Before the control has a parent (while a form is being built) there is nothing to draw
  // on; the first repaint once it is shown gives the right picture.
  if (!canDraw()) return;
  const PixelBuffer bitmap = RenderBands();
  host_->drawBitmap(0, 0, bitmap);
  if (!caption_.empty()) host_->drawText(textLeft_, textTop_, caption_, font_);
}

PixelBuffer TNetGradient::RenderBands() const {
  const std::int32_t width = std::max(width_, 0);
  const std::int32_t height = std::max(height_, 0);
  PixelBuffer bitmap(width, height);

  const bool leftToRight = fillDirection_ == fdLeftToRight;
  const TColor start = ColorToRGB(leftToRight ? beginColor_ : endColor_);
  const TColor end = ColorToRGB(leftToRight ? endColor_ : beginColor_);
  const std::int32_t r0 = redOf(start);
  const std::int32_t g0 = greenOf(start);
  const std::int32_t b0 = blueOf(start);
  const std::int32_t dr = redOf(end) - r0;
  const std::int32_t dg = greenOf(end) - g0;
  const std::int32_t db = blueOf(end) - b0;

  const std::int32_t n = numberOfColors_;
  for (std::int32_t i = 0; i < n; ++i) {
    std::int32_t r = r0;
    std::int32_t g = g0;
    std::int32_t b = b0;
    if (n >= 2) {
      r += MulDiv(i, dr, n - 1);
      g += MulDiv(i, dg, n - 1);
      b += MulDiv(i, db, n - 1);
    }
    // Narrow controls give bands with equal edges; those fill nothing, and where edges meet
    // the later band wins.
    bitmap.fillRect(MulDiv(i, width, n), 0, MulDiv(i + 1, width, n), height,
                    rgbColor(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                             static_cast<std::uint8_t>(b)));
  }
  return bitmap;
}

NetGradientResource TNetGradient::storedProperties() const {
  NetGradientResource stored;
  stored.Left = left_;
  stored.Top = top_;
  stored.Width = width_;
  stored.Height = height_;
  if (!visible_) stored.Visible = false;
  if (autoSize_ != DefaultAutoSize) stored.AutoSize = autoSize_;
  if (beginColor_ != DefaultBeginColor) stored.BeginColor = beginColor_;
  if (endColor_ != DefaultEndColor) stored.EndColor = endColor_;
  if (fillDirection_ != DefaultFillDirection) stored.FillDirection = fillDirection_;
  if (numberOfColors_ != DefaultNumberOfColors) stored.NumberOfColors = numberOfColors_;
  stored.Font = font_;
  if (!caption_.empty()) stored.Caption = caption_;
  stored.TextTop = textTop_;
  stored.TextLeft = textLeft_;
  return stored;
}

void TNetGradient::loadStored(const NetGradientResource& resource) {
  // The reader sets each stored property through its setter, in the order it was written.
  SetBounds(resource.Left.value_or(left_), resource.Top.value_or(top_),
            resource.Width.value_or(width_), resource.Height.value_or(height_));
  if (resource.Visible) SetVisible(*resource.Visible);
  if (resource.AutoSize) SetAutoSize(*resource.AutoSize);
  if (resource.BeginColor) SetBeginColor(*resource.BeginColor);
  if (resource.EndColor) SetEndColor(*resource.EndColor);
  if (resource.FillDirection) SetFillDirection(*resource.FillDirection);
  if (resource.NumberOfColors) SetNumberOfColors(*resource.NumberOfColors);
  if (resource.Font) SetFont(&*resource.Font);
  if (resource.Caption) SetCaption(*resource.Caption);
  if (resource.TextTop) SetTextTop(*resource.TextTop);
  if (resource.TextLeft) SetTextLeft(*resource.TextLeft);
}

} // namespace widgets
