#include "tools/grittbox-demo/waveform_image.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Rgb kBackground{22, 24, 29};
constexpr Rgb kAxis{58, 63, 75};
constexpr Rgb kFullScale{40, 44, 54};
constexpr Rgb kDivider{107, 114, 128};
constexpr Rgb kDryEnvelope{70, 150, 230};
constexpr Rgb kDryCore{184, 222, 255};
constexpr Rgb kWetEnvelope{235, 120, 50};
constexpr Rgb kWetCore{255, 208, 173};
constexpr double kHeadroom = 0.9;  // full scale reaches 90 % of a half, so peaks stay visible

struct Lane {
  int top;
  int height;
  Rgb envelope;
  Rgb core;
};

void Put(RgbImage& image, int x, int y, Rgb color) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  uint8_t* pixel = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 3];
  pixel[0] = color.r;
  pixel[1] = color.g;
  pixel[2] = color.b;
}

void HorizontalLine(RgbImage& image, int y, Rgb color) {
  for (int x = 0; x < image.width; ++x) Put(image, x, y, color);
}

// The row of a sample value within a lane; values beyond full scale stop at its edge.
int RowOf(const Lane& lane, double value) {
  const double middle = lane.top + (lane.height - 1) / 2.0;
  const double reach = (lane.height - 1) / 2.0 * kHeadroom;
  const double row = middle - std::clamp(value, -1.0 / kHeadroom, 1.0 / kHeadroom) * reach;
  return static_cast<int>(std::lround(row));
}

void VerticalSpan(RgbImage& image, int x, int fromRow, int toRow, Rgb color) {
  if (fromRow > toRow) std::swap(fromRow, toRow);
  for (int y = fromRow; y <= toRow; ++y) Put(image, x, y, color);
}

void DrawLane(RgbImage& image, const Lane& lane, const std::vector<float>& signal, int channels) {
  HorizontalLine(image, RowOf(lane, 1.0), kFullScale);
  HorizontalLine(image, RowOf(lane, -1.0), kFullScale);
  HorizontalLine(image, RowOf(lane, 0.0), kAxis);
  const auto frames = static_cast<int64_t>(signal.size() / channels);
  if (frames == 0) return;
  for (int x = 0; x < image.width; ++x) {
    const int64_t first = frames * x / image.width;
    // Every column shows at least one frame, even when there are fewer frames than columns.
    const int64_t last = std::max(first + 1, frames * (x + 1) / image.width);
    float low = signal[first * channels];
    float high = low;
    double sumOfSquares = 0;
    for (int64_t i = first * channels; i < last * channels; ++i) {
      low = std::min(low, signal[i]);
      high = std::max(high, signal[i]);
      sumOfSquares += static_cast<double>(signal[i]) * signal[i];
    }
    const double rms = std::sqrt(sumOfSquares / static_cast<double>((last - first) * channels));
    VerticalSpan(image, x, RowOf(lane, low), RowOf(lane, high), lane.envelope);
    VerticalSpan(image, x, RowOf(lane, std::max<double>(-rms, low)),
                 RowOf(lane, std::min<double>(rms, high)), lane.core);
  }
}
}  // namespace

RgbImage DrawWaveforms(const std::vector<float>& dry, const std::vector<float>& processed,
                       int channels, int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) HorizontalLine(image, y, kBackground);

  const int half = height / 2;
  DrawLane(image, Lane{0, half, kDryEnvelope, kDryCore}, dry, channels);
  DrawLane(image, Lane{half, height - half, kWetEnvelope, kWetCore}, processed, channels);
  HorizontalLine(image, half, kDivider);
  return image;
}
