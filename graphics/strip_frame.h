#pragma once
#include "graphics/editor_records.h"

// Which frame of a strip shows a normalized value, and where it lies in the
// strip's bitmap.
struct IStripFrame {
  int frame = 1;  // counted from 1
  int sourceX = 0;
  int sourceY = 0;
};

IStripFrame StripFrameFor(const IBitmapStrip& strip, double value);
