#include "tools/grittbox-render/progress_bar.h"

#include <unistd.h>

ProgressBar::ProgressBar(std::FILE* stream, int64_t total, bool enabled)
    : stream_(stream), total_(total), visible_(enabled && total > 0 && isatty(fileno(stream))) {
  if (visible_) Draw(0);
}

void ProgressBar::Update(int64_t done) {
  if (!visible_) return;
  const int step = static_cast<int>(done >= total_ ? kSteps : done * kSteps / total_);
  if (step != drawnStep_) Draw(step);
}

void ProgressBar::Finish() {
  if (!visible_) return;
  // The bar stays as far as it got, so a failed render does not show 100 %.
  std::fputc('\n', stream_);
  visible_ = false;
}

void ProgressBar::Draw(int step) {
  char bar[kSteps + 1];
  for (int i = 0; i < kSteps; ++i) bar[i] = i < step ? '#' : '.';
  bar[kSteps] = 0;
  // The carriage return redraws over the previous bar.
  std::fprintf(stream_, "\rrendering [%s] %3d%%", bar, step * 100 / kSteps);
  std::fflush(stream_);
  drawnStep_ = step;
}
