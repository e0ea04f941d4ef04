#include <gtest/gtest.h>

#include <cstdio>

#include "cli/progress.h"
#include "test_support.h"

namespace glyphary::cli {
namespace {

TEST(ProgressBar, RedrawsOnlyOnChangeAndEndsItsLineWhenDoneOrInterrupted) {
  TempDir dir;
  std::FILE* out = std::fopen(dir.File("bar").c_str(), "w");
  ProgressBar(out).Finish();  // never shown: draws nothing
  {
    ProgressBar bar(out);
    const ProgressProc report = BindProgress(bar);
    report(50);
    report(50);
    bar.Finish();
    report(-5);
  }  // interrupted at 0%
  std::fclose(out);
  const std::string half = std::string(20, '#') + std::string(20, ' ');
  EXPECT_EQ(ReadAll(dir.File("bar")), "\r[" + half + "]  50%\r[" + std::string(40, '#') +
                                          "] 100%\n\r[" + std::string(40, ' ') + "]   0%\n");
}

}  // namespace
}  // namespace glyphary::cli
