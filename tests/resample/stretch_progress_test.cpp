#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resample/resample.h"
#include "resample/stretch.h"

namespace glyphary {
namespace {

std::uint32_t now = 0;
std::uint32_t clockStep = 0;  // added on every reading
std::uint32_t callbackCost = 0;
std::vector<int> reports;

std::uint32_t FakeClock() {
  now += clockStep;
  return now;
}

void Record(std::int32_t percent) {
  reports.push_back(percent);
  now += callbackCost;
}

class Progress : public testing::Test {
 protected:
  void SetUp() override {
    stretch_testing::SetTickClock(FakeClock);
    now = clockStep = callbackCost = 0;
    reports.clear();
  }
  void TearDown() override { stretch_testing::SetTickClock(nullptr); }
};

TEST_F(Progress, ZeroRestartsTheClockWithoutReporting) {
  now = 1000;
  ReportProgress(0, Record);
  now = 1049;
  ReportProgress(10, Record);
  now = 1050;
  ReportProgress(20, Record);
  ReportProgress(30, Record);  // same instant: throttled
  EXPECT_EQ(reports, (std::vector<int>{20}));
}

TEST_F(Progress, IntervalCountsFromWhenTheCallbackReturned) {
  callbackCost = 30;
  now = 2000;
  ReportProgress(0, Record);
  now = 2050;
  ReportProgress(5, Record);  // reported; the stamp becomes 2080
  now = 2129;
  ReportProgress(6, Record);
  now = 2130;
  ReportProgress(7, Record);
  EXPECT_EQ(reports, (std::vector<int>{5, 7}));
}

TEST_F(Progress, CounterWrapIsHarmless) {
  now = 0xFFFFFFF0u;
  ReportProgress(0, Record);
  now = 0x21;  // 49 ticks later
  ReportProgress(1, Record);
  now = 0x22;
  ReportProgress(2, Record);
  EXPECT_EQ(reports, (std::vector<int>{2}));
}

TEST_F(Progress, AbsentListenerLeavesTheStampAlone) {
  now = 100;
  ReportProgress(0, Record);
  now = 1000;
  ReportProgress(0, nullptr);  // would restart the clock if it counted
  ReportProgress(9, nullptr);
  ReportProgress(7, Record);
  EXPECT_EQ(reports, (std::vector<int>{7}));
}

std::vector<int> ReportsOf(int w, int h, int toW, int toH) {
  reports.clear();
  clockStep = 100;  // every report gets through the throttle
  Bitmap b(w, h, 24);
  StretchBitmap(b, toW, toH, Record);
  return reports;
}

TEST_F(Progress, EachPassReportsItsHalfPerStep) {
  // Enlarging: columns 1..4 give 12..50, then the height pass opens with 50.
  EXPECT_EQ(ReportsOf(3, 3, 5, 5), (std::vector<int>{12, 25, 37, 50, 50, 50, 62, 75, 87, 100}));
  // Shrinking: each pass restarts the clock with 0; a listener also sees the
  // two passes of an exact halving.
  EXPECT_EQ(ReportsOf(5, 5, 2, 3), (std::vector<int>{12, 25, 37, 50, 50, 75, 100}));
  EXPECT_EQ(ReportsOf(4, 4, 2, 2), (std::vector<int>{16, 33, 50, 50, 100}));
  // A pass over a single line reports its end instead of dividing by zero.
  EXPECT_EQ(ReportsOf(5, 1, 2, 1), (std::vector<int>{50}));
  EXPECT_EQ(ReportsOf(2, 5, 2, 1), (std::vector<int>{100}));
  EXPECT_EQ(ReportsOf(2, 1, 2, 3), (std::vector<int>{50, 50, 75, 100}));
}

// Wider and lower: the image between two passes would outgrow both ends, so
// the listener hears one sweep, strips of source rows and output rows
// counting together towards 100.
TEST_F(Progress, AOneSweepResizeCountsSourceAndOutputRows) {
  EXPECT_EQ(ReportsOf(1, 4, 3, 1), (std::vector<int>{80, 100}));
  const std::vector<int> many = ReportsOf(2, 100, 50, 3);
  EXPECT_EQ(many.size(), 7u);  // four strips of 32 rows, three output rows
  EXPECT_TRUE(std::is_sorted(many.begin(), many.end()));
  EXPECT_EQ(many.back(), 100);
}

void StopPastHalfway(std::int32_t percent) {
  if (percent > 50) throw Error("stopped");
}

TEST_F(Progress, FailureInAPassKeepsTheLastCompletedPass) {
  clockStep = 100;
  Bitmap b(3, 3, 32);
  b.Fill(Rgb(10, 20, 30));
  EXPECT_THROW(StretchBitmap(b, 5, 5, StopPastHalfway), Error);
  EXPECT_EQ(b.Width(), 5);  // the width pass finished
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.BitsPerPixel(), 24);
  EXPECT_EQ(b.PixelAt(4, 2), Rgb(10, 20, 30));
}

}  // namespace
}  // namespace glyphary
