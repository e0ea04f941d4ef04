#include <gtest/gtest.h>

#include <cstdio>

#include "cli/progress.h"
#include "test_support.h"

namespace glyphary::cli {
namespace {

std::string Drawn(void (*draw)(std::FILE*)) {
  TempDir dir;
  std::FILE* out = std::fopen(dir.File("bar").c_str(), "w");
  draw(out);
  std::fclose(out);
  return ReadAll(dir.File("bar"));
}

TEST(ProgressBar, RedrawsInPlaceOnlyOnChangeAndCompletesItsLine) {
  const std::string text = Drawn([](std::FILE* out) {
    ProgressBar bar(out);
    const ProgressProc report = BindProgress(bar);
    report(50);
    report(50);
    report(130);
    bar.Finish();
  });
  const std::string half = std::string(20, '#') + std::string(20, ' ');
  EXPECT_EQ(text, "\r[" + half + "]  50%\r[" + std::string(40, '#') + "] 100%\n");
}

TEST(ProgressBar, AnInterruptedBarEndsItsLineAndAnUnusedOneDrawsNothing) {
  EXPECT_EQ(Drawn([](std::FILE* out) { ProgressBar(out).Finish(); }), "");
  const std::string text = Drawn([](std::FILE* out) {
    ProgressBar bar(out);
    bar.Show(0);
  });
  EXPECT_EQ(text, "\r[" + std::string(40, ' ') + "]   0%\n");
}

}  // namespace
}  // namespace glyphary::cli
