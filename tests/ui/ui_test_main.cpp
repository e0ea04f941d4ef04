// One application object for every window test, offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/application.h"
#include "render/render.h"

// Qt's own allocations that live until exit are not ours to report.
extern "C" const char* __lsan_default_options() {
  return "suppressions=" GLYPHARY_UI_LSAN_SUPPRESSIONS;
}

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  glyphary::InitializeFonts();
  glyphary::app::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
