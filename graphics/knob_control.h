#pragma once
#include "graphics/control.h"

// A control whose value follows pointer drags and the wheel.
class IKnobControl : public IControl {
 public:
  enum Direction { kVertical = 0, kHorizontal = 1 };

  IKnobControl(IPluginBase* plug, const IBounds& rect, int paramIndex, int direction,
               double gearing);
  void PointerDrag(int x, int y, int dX, int dY, const IMouseKeys& keys) override;
  void PointerWheel(int x, int y, const IMouseKeys& keys, int steps) override;

  int direction;
  double gearing;
};

// A knob drawn as the frame of an image strip that matches its value.
class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IPluginBase* plug, int x, int y, int paramIndex, const IBitmapStrip& strip,
                    int direction = kVertical, double gearing = 4.0);
  bool Paint(IGraphics& graphics) override;

  IBitmapStrip strip;
};
