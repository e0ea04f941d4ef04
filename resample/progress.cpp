#include <chrono>

#include "resample/stretch.h"

namespace glyphary {
namespace {

constexpr std::uint32_t kReportIntervalMs = 50;

std::uint32_t SteadyTicks() {
  using namespace std::chrono;
  return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

stretch_testing::TickClock tickClock = SteadyTicks;

// Tick count of the last report or restart, shared by every call.
std::uint32_t progressStamp = 0;

}  // namespace

void ReportProgress(std::int32_t percent, ProgressProc progress) {
  if (progress == nullptr) return;
  if (percent == 0) {
    progressStamp = tickClock();
    return;
  }
  // Unsigned difference: the counter's wrap is harmless.
  if (std::uint32_t(tickClock() - progressStamp) < kReportIntervalMs) return;
  progress(percent);
  progressStamp = tickClock();
}

namespace stretch_testing {
void SetTickClock(TickClock clock) {
  tickClock = clock != nullptr ? clock : SteadyTicks;
}
}  // namespace stretch_testing

}  // namespace glyphary
