#include "cli/progress.h"

#include <algorithm>
#include <string>

namespace glyphary::cli {
namespace {

constexpr int kBarWidth = 40;

ProgressBar* boundBar = nullptr;

void ReportToBoundBar(std::int32_t percent) {
  if (boundBar) boundBar->Show(percent);
}

}  // namespace

void ProgressBar::Show(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == shown_) return;
  shown_ = percent;
  const int filled = percent * kBarWidth / 100;
  const std::string bar =
      std::string(std::size_t(filled), '#') + std::string(std::size_t(kBarWidth - filled), ' ');
  std::fprintf(out_, "\r[%s] %3d%%", bar.c_str(), percent);
  std::fflush(out_);
}

ProgressBar::~ProgressBar() {
  if (boundBar == this) boundBar = nullptr;
  EndLine();
}

void ProgressBar::Finish() {
  if (shown_ < 0) return;
  Show(100);
  EndLine();
}

void ProgressBar::EndLine() {
  if (shown_ < 0) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  shown_ = -1;
}

ProgressProc BindProgress(ProgressBar& bar) {
  boundBar = &bar;
  return ReportToBoundBar;
}

}  // namespace glyphary::cli
