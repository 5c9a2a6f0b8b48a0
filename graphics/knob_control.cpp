#include "graphics/knob_control.h"

#include "graphics/strip_frame.h"

namespace {
constexpr double kFineAdjustment = 10.0;
constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;
}  // namespace

// Knobs composite with the default blend: normal, opaque.
IKnobControl::IKnobControl(IPluginBase* plug, const IBounds& rect, int param, int dir, double gear)
    : IControl(plug, rect, param, IBlendSpec{}), direction(dir), gearing(gear) {}

void IKnobControl::PointerDrag(int /*x*/, int /*y*/, int dX, int dY, const IMouseKeys& keys) {
  double g = gearing;
  if (keys.control || keys.shift) g *= kFineAdjustment;
  if (direction == kVertical) {
    value += dY / double(drawRect.top - drawRect.bottom) / g;
  } else {
    value += dX / double(drawRect.right - drawRect.left) / g;
  }
  MarkDirty(true);
}

void IKnobControl::PointerWheel(int /*x*/, int /*y*/, const IMouseKeys& keys, int steps) {
  value += steps * (keys.control || keys.shift ? kFineWheelStep : kWheelStep);
  MarkDirty(true);
}

IKnobMultiControl::IKnobMultiControl(IPluginBase* plug, int x, int y, int param,
                                     const IBitmapStrip& knobStrip, int dir, double gear)
    : IKnobControl(plug,
                   IBounds{x, y, x + knobStrip.width,
                           y + (knobStrip.frames > 0 ? knobStrip.height / knobStrip.frames
                                                     : knobStrip.height)},
                   param, dir, gear),
      strip(knobStrip) {}

bool IKnobMultiControl::Paint(IGraphics& graphics) {
  return PaintStripFrame(graphics, strip, drawRect, value, blend);
}
