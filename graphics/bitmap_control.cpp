#include "graphics/bitmap_control.h"

#include "graphics/strip_frame.h"

IBitmapControl::IBitmapControl(IPluginBase* plug, const IBounds& rect, int paramIndex,
                               const IBitmapStrip& bitmapStrip, const IBlendSpec& blendSpec)
    : IControl(plug, rect, paramIndex, blendSpec), strip(bitmapStrip) {}

bool IBitmapControl::Paint(IGraphics& graphics) {
  return PaintStripFrame(graphics, strip, drawRect, value, blend);
}
