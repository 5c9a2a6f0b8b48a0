#include "tools/grittbox-demo/signal_stats.h"

#include <cmath>
#include <cstdio>

SignalLevel MeasureLevel(const std::vector<float>& samples) {
  SignalLevel level;
  if (samples.empty()) return level;
  double sumOfSquares = 0;
  for (float sample : samples) {
    const double value = sample;
    level.peak = std::fmax(level.peak, std::fabs(value));
    sumOfSquares += value * value;
  }
  level.rms = std::sqrt(sumOfSquares / static_cast<double>(samples.size()));
  return level;
}

std::string DescribeLevel(double linear) {
  char text[64];
  if (linear > 0) {
    std::snprintf(text, sizeof text, "%.4f (%.2f dBFS)", linear, 20.0 * std::log10(linear));
  } else {
    std::snprintf(text, sizeof text, "%.4f (-inf dBFS)", linear);
  }
  return text;
}
