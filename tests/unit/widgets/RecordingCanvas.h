// A surface for tests that records every call a control makes on it, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/Canvas.h"

namespace widgets::testing {

class RecordingCanvas final : public Canvas {
public:
  struct BitmapCall {
    std::int32_t x;
    std::int32_t y;
    PixelBuffer bitmap;
  };
  struct TextCall {
    std::int32_t x;
    std::int32_t y;
    std::string text;
    TFont font;
  };

  void invalidate() override { events.push_back("invalidate"); }
  void drawBitmap(std::int32_t x, std::int32_t y, const PixelBuffer& bitmap) override {
    events.push_back("bitmap");
    bitmaps.push_back({x, y, bitmap});
  }
  void drawText(std::int32_t x, std::int32_t y, const std::string& text,
                const TFont& font) override {
    events.push_back("text");
    texts.push_back({x, y, text, font});
  }

  void clear() {
    events.clear();
    bitmaps.clear();
    texts.clear();
  }

  std::vector<std::string> events;
  std::vector<BitmapCall> bitmaps;
  std::vector<TextCall> texts;
};

} // namespace widgets::testing
