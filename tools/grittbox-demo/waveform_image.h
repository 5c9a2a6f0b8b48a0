#pragma once
#include <cstdint>
#include <vector>

// An 8-bit RGB picture, rows top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3
};

struct Rgb {
  uint8_t r, g, b;
};

// Draws the dry signal in the top half and the processed one in the bottom
// half: per pixel column the smallest and largest sample over both channels,
// with the column's RMS as a brighter core. Both signals are interleaved with
// the same channel count and length; full scale fills a half's height.
RgbImage DrawWaveforms(const std::vector<float>& dry, const std::vector<float>& processed,
                       int channels, int width, int height);
