#include "tools/grittbox-demo/demo_signal.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kNotesPerChord = 5;
constexpr int kPartials = 6;
constexpr double kStrumGap = 0.025;  // seconds between the strings of one strum
constexpr double kAttack = 0.003;    // long enough not to click
constexpr double kPeak = 0.8;

struct Chord {
  double start;                  // seconds
  double notes[kNotesPerChord];  // Hz, low string first
};

// A minor, then F major: a change the drive and the hold both colour audibly.
constexpr Chord kChords[] = {
    {0.05, {110.00, 164.81, 220.00, 261.63, 329.63}},
    {2.05, {87.31, 130.81, 174.61, 220.00, 261.63}},
};

// Equal-power pan: -1 left, +1 right.
void PanGains(double pan, double& left, double& right) {
  const double angle = (pan + 1.0) * kPi / 4.0;
  left = std::cos(angle);
  right = std::sin(angle);
}

// A plucked string: harmonics that fade faster the higher they are.
void AddPluck(std::vector<double>& mix, double start, double frequency, double pan) {
  double left = 0, right = 0;
  PanGains(pan, left, right);
  const auto frames = static_cast<int64_t>(mix.size() / kDemoChannels);
  const auto first = static_cast<int64_t>(start * kDemoSampleRate);
  for (int64_t i = std::max<int64_t>(first, 0); i < frames; ++i) {
    const double t = static_cast<double>(i - first) / kDemoSampleRate;
    const double attack = std::min(1.0, t / kAttack);
    double sample = 0;
    for (int k = 1; k <= kPartials; ++k) {
      const double decay = std::exp(-t * 1.1 * std::pow(k, 0.8));
      sample += std::sin(2 * kPi * frequency * k * t) * decay / std::pow(k, 1.3);
    }
    sample *= attack;
    mix[i * kDemoChannels] += sample * left;
    mix[i * kDemoChannels + 1] += sample * right;
  }
}

// An exponential sine sweep from 60 Hz to 3 kHz that drifts from left to right.
void AddSweep(std::vector<double>& mix) {
  const auto frames = static_cast<int64_t>(mix.size() / kDemoChannels);
  const double low = 60.0, high = 3000.0;
  double phase = 0;
  for (int64_t i = 0; i < frames; ++i) {
    const double position = static_cast<double>(i) / static_cast<double>(frames);
    const double frequency = low * std::pow(high / low, position);
    phase += 2 * kPi * frequency / kDemoSampleRate;
    const double sample = 0.35 * std::sin(phase);
    double left = 0, right = 0;
    PanGains(position * 1.6 - 0.8, left, right);
    mix[i * kDemoChannels] += sample * left;
    mix[i * kDemoChannels + 1] += sample * right;
  }
}
}  // namespace

std::vector<float> SynthesizeDemoSignal() {
  const auto frames = static_cast<int64_t>(kDemoSeconds * kDemoSampleRate);
  std::vector<double> mix(static_cast<size_t>(frames) * kDemoChannels, 0.0);
  for (const Chord& chord : kChords) {
    for (int n = 0; n < kNotesPerChord; ++n) {
      const double pan = -0.6 + 1.2 * n / (kNotesPerChord - 1);
      AddPluck(mix, chord.start + n * kStrumGap, chord.notes[n], pan);
    }
  }
  AddSweep(mix);

  // A short fade at the end, so the file does not stop with a click.
  const auto fade = static_cast<int64_t>(0.05 * kDemoSampleRate);
  for (int64_t i = 0; i < fade; ++i) {
    const double gain = static_cast<double>(i) / static_cast<double>(fade);
    for (int c = 0; c < kDemoChannels; ++c) mix[(frames - 1 - i) * kDemoChannels + c] *= gain;
  }

  double peak = 0;
  for (double sample : mix) peak = std::max(peak, std::fabs(sample));
  const double scale = peak > 0 ? kPeak / peak : 0;
  std::vector<float> signal(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) signal[i] = static_cast<float>(mix[i] * scale);
  return signal;
}
