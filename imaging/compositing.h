#pragma once
// Rectangle compositing, fills and softening over any PIX_IBitmap. Nothing is
// ever drawn outside the destination; null or empty bitmaps, empty or fully
// clipped areas and a weight of exactly 0.0 draw nothing.
#include "imaging/bitmap.h"
#include "imaging/blend_mode.h"
#include "imaging/bounds.h"

// Blends srcRect of src (null: all of it; right and bottom exclusive) onto
// dest with its top-left corner at (dx, dy), by the blend-mode word and the
// weight alpha (0..1). Source and destination areas must not overlap.
void PIX_CompositeRect(PIX_IBitmap* dest, PIX_IBitmap* src, int dx, int dy, const IBounds* srcRect,
                       float alpha, int mode);

// Fills (x, y, width, height) of dest with colour, blended by the mode word
// (modes 0..5) and the weight alpha.
void PIX_PaintRect(PIX_IBitmap* dest, int x, int y, int width, int height, PIX_PixelWord colour,
                   float alpha, int mode);

// Softens the area from (0, 0) to (width, height) in place: each pixel keeps
// half of itself and takes the rest from its four neighbours.
void PIX_SoftenRect(PIX_IBitmap* bitmap, int width, int height);
