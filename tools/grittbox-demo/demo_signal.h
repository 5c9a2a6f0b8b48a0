#pragma once
#include <vector>

constexpr int kDemoSampleRate = 44100;
constexpr int kDemoChannels = 2;
constexpr double kDemoSeconds = 4.0;

// A stereo demo phrase made from nothing but sines: two strummed, decaying
// chords over a slow rising sweep. Interleaved, peaking at 0.8.
std::vector<float> SynthesizeDemoSignal();
