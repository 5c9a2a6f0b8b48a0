#pragma once
#include <string>
#include <vector>

// Level of a whole signal, over all its channels.
struct SignalLevel {
  double peak = 0;  // linear, largest absolute sample
  double rms = 0;   // linear
};

SignalLevel MeasureLevel(const std::vector<float>& samples);

// "0.8000 (-1.94 dBFS)"; silence reads "-inf dBFS".
std::string DescribeLevel(double linear);
