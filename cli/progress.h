// A text progress bar for long image operations, drawn in place on one line.
#pragma once

#include <cstdio>

#include "resample/resample.h"

namespace glyphary::cli {

class ProgressBar {
 public:
  explicit ProgressBar(std::FILE* out) : out_(out) {}
  // Ends a started line, so that an error message after a failure starts afresh.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;
  // Redraws the line; percentages outside 0..100 are clamped.
  void Show(int percent);
  // Draws the full bar and ends the line, if anything was drawn.
  void Finish();

 private:
  std::FILE* out_;
  void EndLine();
  int shown_ = -1;
};

// The ProgressProc that feeds `bar` (a plain function pointer cannot carry
// the bar, so the binding is program-wide: one bar at a time).
ProgressProc BindProgress(ProgressBar& bar);

}  // namespace glyphary::cli
