#pragma once
#include <cstdint>
#include <cstdio>

// A progress bar on a terminal, redrawn in place at most kSteps times, so a
// long render shows life without flooding a log.
class ProgressBar {
 public:
  static constexpr int kSteps = 20;

  // Shows nothing when disabled or when stream is not a terminal.
  ProgressBar(std::FILE* stream, int64_t total, bool enabled);
  ~ProgressBar() { Finish(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(int64_t done);
  // Leaves the bar as drawn and ends its line; further updates draw nothing.
  void Finish();

 private:
  void Draw(int step);

  std::FILE* stream_;
  int64_t total_;
  bool visible_;
  int drawnStep_ = -1;
};
