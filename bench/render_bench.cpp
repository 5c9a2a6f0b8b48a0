// Cost of the effect per channel-sample, through its render routine and through
// the effect record as a host calls it, at three block sizes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effect/grittbox.h"

namespace {
constexpr double kSixtyPercent = 0.6;

void SetAllParams(Grittbox& effect) {
  for (int i = 0; i < Grittbox::kParamCount; ++i) {
    effect.Effect().setParameter(&effect.Effect(), i, static_cast<float>(kSixtyPercent));
  }
}

template <typename Sample>
void FillSignal(std::vector<Sample>& left, std::vector<Sample>& right) {
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<Sample>(0.8 * std::sin(0.013 * i));
    right[i] = static_cast<Sample>(0.8 * std::sin(0.017 * i));
  }
}

void ReportPerChannelSample(benchmark::State& state, int frames) {
  const double channelSamples = 2.0 * frames;
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * channelSamples));
  state.counters["ns_per_channel_sample"] =
      benchmark::Counter(channelSamples * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

void RenderDouble(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Grittbox effect(nullptr);
  effect.SetMaxBlockSize(frames);
  SetAllParams(effect);
  std::vector<double> left(frames), right(frames), outLeft(frames), outRight(frames);
  FillSignal(left, right);
  double* inputs[] = {left.data(), right.data()};
  double* outputs[] = {outLeft.data(), outRight.data()};
  for (auto _ : state) {
    effect.RenderDouble(inputs, outputs, frames);
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::ClobberMemory();
  }
  ReportPerChannelSample(state, frames);
}

void ProcessReplacing(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  Grittbox effect(nullptr);
  AEffect& record = effect.Effect();
  record.dispatcher(&record, effSetBlockSize, 0, frames, nullptr, 0.0f);
  SetAllParams(effect);
  std::vector<float> left(frames), right(frames), outLeft(frames), outRight(frames);
  FillSignal(left, right);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  for (auto _ : state) {
    record.processReplacing(&record, inputs, outputs, frames);
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::ClobberMemory();
  }
  ReportPerChannelSample(state, frames);
}
}  // namespace

BENCHMARK(RenderDouble)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(ProcessReplacing)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_MAIN();
