#pragma once
#include "graphics/control.h"

// Shows the frame of its strip that matches its value; the editor's backdrop
// is one.
class IBitmapControl : public IControl {
 public:
  IBitmapControl(IPluginBase* plug, const IBounds& rect, int paramIndex, const IBitmapStrip& strip,
                 const IBlendSpec& blend);
  bool Paint(IGraphics& graphics) override;

  IBitmapStrip strip;
};
