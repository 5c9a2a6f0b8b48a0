// Cost per pixel of drawing a whole editor frame (360 x 104): a control image
// composited with source alpha at full and half weight, and a fill.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "imaging/compositing.h"
#include "imaging/mem_bitmap.h"
#include "imaging/sys_bitmap.h"

namespace {
constexpr int kWidth = 360;
constexpr int kHeight = 104;
constexpr double kPixels = double{kWidth} * kHeight;

// Every alpha from clear to opaque in turn, so that groups of pixels are
// rarely all clear or all opaque: the costly case.
void FillSource(PIX_IBitmap& bitmap) {
  PIX_PixelWord* pixels = bitmap.PixelData();
  uint32_t state = 1;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      const PIX_PixelWord alpha = static_cast<PIX_PixelWord>((x * 7 + y * 3) & 0xFF) << 24;
      pixels[y * bitmap.RowPixels() + x] = alpha | (state >> 8 & 0x00FFFFFF);
    }
  }
}

void ReportPerPixel(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPixels));
  state.counters["ns_per_pixel"] = benchmark::Counter(
      kPixels * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void CompositeSourceAlpha(benchmark::State& state, float weight) {
  PIX_SysBitmap frame(kWidth, kHeight);
  PIX_MemBitmap image(kWidth, kHeight);
  FillSource(image);
  PIX_PaintRect(&frame, 0, 0, kWidth, kHeight, 0xFF203040, 1.0f, PIX_MIX_COPY);
  for (auto _ : state) {
    PIX_CompositeRect(&frame, &image, 0, 0, nullptr, weight, PIX_MIX_COPY | PIX_MIX_SOURCE_ALPHA);
    benchmark::DoNotOptimize(frame.PixelData());
    benchmark::ClobberMemory();
  }
  ReportPerPixel(state);
}

void CompositeSourceAlphaFull(benchmark::State& state) {
  CompositeSourceAlpha(state, 1.0f);
}
void CompositeSourceAlphaHalf(benchmark::State& state) {
  CompositeSourceAlpha(state, 0.5f);
}

void PaintFrame(benchmark::State& state) {
  PIX_SysBitmap frame(kWidth, kHeight);
  for (auto _ : state) {
    PIX_PaintRect(&frame, 0, 0, kWidth, kHeight, 0xFF203040, 1.0f, PIX_MIX_COPY);
    benchmark::DoNotOptimize(frame.PixelData());
    benchmark::ClobberMemory();
  }
  ReportPerPixel(state);
}
}  // namespace

BENCHMARK(CompositeSourceAlphaFull);
BENCHMARK(CompositeSourceAlphaHalf);
BENCHMARK(PaintFrame);
BENCHMARK_MAIN();
