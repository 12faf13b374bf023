// System colours resolved through the platform at the moment of drawing.
#include "widgets/Graphics.h"

#include "platform/System.h"

namespace widgets {

TColor ColorToRGB(TColor color) {
  if (isSystemColor(color)) return platform::systemColor(static_cast<int>(color & 0xFF));
  return color;
}

} // namespace widgets
