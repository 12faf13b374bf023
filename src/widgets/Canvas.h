// The surface a windowless control draws on: its parent window's area under the control.
#pragma once

#include <cstdint>
#include <string>

#include "widgets/Graphics.h"
#include "widgets/PixelBuffer.h"

namespace widgets {

// Implemented by whatever hosts the control (the native window, a test). Coordinates are
// relative to the control's top-left corner; the surface clips everything to the control's
// rectangle, so a caption longer than the control is cut off at its edges.
class Canvas {
public:
  virtual ~Canvas() = default;

  // Asks for the control to be repainted later (its paint handler runs then).
  virtual void invalidate() = 0;
  // Copies a finished bitmap onto the surface, its top-left corner at (x, y).
  virtual void drawBitmap(std::int32_t x, std::int32_t y, const PixelBuffer& bitmap) = 0;
  // Writes one line of text with a clear brush (the background shows through), its top-left
  // corner at (x, y), in the given font.
  virtual void drawText(std::int32_t x, std::int32_t y, const std::string& text,
                        const TFont& font) = 0;
};

} // namespace widgets
