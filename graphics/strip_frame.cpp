#include "graphics/strip_frame.h"

#include <algorithm>

#include "graphics/graphics.h"

IStripFrame StripFrameFor(const IBitmapStrip& strip, double value) {
  IStripFrame result;
  const int n = strip.frames;
  if (n <= 1) return result;
  const double exact = (n - 1) * value + 0.5;
  // Out-of-range or undefined values end at the nearest end of the strip.
  const int f = !(exact >= 0.0) ? 0 : exact >= n ? n : static_cast<int>(exact);
  result.frame = std::clamp(f + 1, 1, n);
  if (result.frame > 1) {
    if (strip.framesAcross) {
      result.sourceX = static_cast<int>(strip.width * double(result.frame - 1) / n + 0.5);
    } else {
      result.sourceY = static_cast<int>(strip.height * double(result.frame - 1) / n + 0.5);
    }
  }
  return result;
}

bool PaintStripFrame(IGraphics& graphics, const IBitmapStrip& strip, const IBounds& rect,
                     double value, const IBlendSpec& blend) {
  const IStripFrame frame = StripFrameFor(strip, value);
  return graphics.BlitStrip(strip, rect, frame.sourceX, frame.sourceY, &blend);
}
