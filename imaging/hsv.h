#pragma once
#include <array>
#include <cstdint>

#include "imaging/bitmap.h"

// Hue runs 0..383 in six sectors of 64 (red 0, yellow 64, green 128, cyan 192,
// blue 256, magenta 320); saturation and value 0..255.
constexpr int PIX_HUE_RANGE = 384;

constexpr std::array<uint16_t, 256> PIX_MakeHsvReciprocals() {
  std::array<uint16_t, 256> table{};
  for (int i = 1; i < 256; ++i) table[i] = static_cast<uint16_t>(65536 / i - 1);
  return table;
}
// Reciprocals for the conversions: [0] = 0, [i] = 65536 / i - 1.
inline constexpr std::array<uint16_t, 256> PIX_HSV_RECIPROCALS = PIX_MakeHsvReciprocals();

// Channels outside 0..255 count as the nearest end. Grey gives hue 256 and
// saturation 0.
void PIX_HsvFromRgb(int r, int g, int b, int& h, int& s, int& v);

// Meant for h 0..383 (below 0 counts as the first sector, 320 and above as the
// last) and s, v 0..255; every channel keeps its low 8 bits, as does alpha.
PIX_PixelWord PIX_PixelFromHsv(int h, int s, int v, int alpha);
