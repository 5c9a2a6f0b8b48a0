#include "imaging/hsv.h"

#include <algorithm>

namespace {
int ClampByte(int x) {
  return std::min(std::max(x, 0), 255);
}

// Where a hue lies within its sector: difference * 64 / delta in the table's
// fixed point, truncated toward zero.
int SectorOffset(int difference, int delta) {
  return difference * (PIX_HSV_RECIPROCALS[delta] + 1) / 1024;
}

// v * (1 - k * s / 16384): the falling or rising channel of a sector.
int Ramp(int v, int k, int s) {
  return v * (16384 - k * s) / 16384 & 0xFF;
}
}  // namespace

void PIX_HsvFromRgb(int r, int g, int b, int& h, int& s, int& v) {
  // Clamped so that every table index stays a byte.
  r = ClampByte(r);
  g = ClampByte(g);
  b = ClampByte(b);
  int delta;
  if (g > r && g > b) {
    v = g;
    delta = g - std::min(r, b);
    h = 128 + SectorOffset(b - r, delta);
  } else if (g > r) {
    v = b;
    delta = b - r;
    h = 256 + SectorOffset(r - g, delta);
  } else if (r > b && g < b) {
    v = r;
    delta = r - g;
    h = 383 + SectorOffset(g - b, delta);
  } else if (r > b) {
    v = r;
    delta = r - b;
    h = SectorOffset(g - b, delta);
  } else {
    v = b;
    delta = b - std::min(r, g);
    h = 256 + SectorOffset(r - g, delta);
  }
  s = delta * PIX_HSV_RECIPROCALS[v] / 256;
}

PIX_PixelWord PIX_PixelFromHsv(int h, int s, int v, int alpha) {
  const int m = v * (256 - s) / 256 & 0xFF;
  const int top = v & 0xFF;
  int r, g, b;
  if (h < 64) {
    r = top, g = Ramp(v, 64 - h, s), b = m;
  } else if (h < 128) {
    r = Ramp(v, h - 64, s), g = top, b = m;
  } else if (h < 192) {
    r = m, g = top, b = Ramp(v, 192 - h, s);
  } else if (h < 256) {
    r = m, g = Ramp(v, h - 192, s), b = top;
  } else if (h < 320) {
    r = Ramp(v, 320 - h, s), g = m, b = top;
  } else {
    r = top, g = m, b = Ramp(v, h - 320, s);
  }
  return static_cast<PIX_PixelWord>(alpha & 0xFF) << 24 | static_cast<PIX_PixelWord>(r) << 16 |
         static_cast<PIX_PixelWord>(g) << 8 | static_cast<PIX_PixelWord>(b);
}
