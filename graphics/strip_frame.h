#pragma once
#include "graphics/editor_records.h"
#include "imaging/bounds.h"

class IGraphics;

// Which frame of a strip shows a normalized value, and where it lies in the
// strip's bitmap.
struct IStripFrame {
  int frame = 1;  // counted from 1
  int sourceX = 0;
  int sourceY = 0;
};

IStripFrame StripFrameFor(const IBitmapStrip& strip, double value);

// Paints the frame for value into rect of the graphics object's canvas.
// Editor thread.
bool PaintStripFrame(IGraphics& graphics, const IBitmapStrip& strip, const IBounds& rect,
                     double value, const IBlendSpec& blend);
