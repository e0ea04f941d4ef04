// Runs the real glyphary-cli binary in a scratch folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "image/image.h"
#include "render/render.h"
#include "test_support.h"

namespace glyphary {

class CliTest : public ::testing::Test {
 protected:
  // Arguments pass through the shell as written; both output streams are kept.
  int RunCli(const std::string& arguments) {
    const std::string command = std::string(GLYPHARY_CLI) + " " + arguments + " >" +
                                dir_.File("stdout") + " 2>" + dir_.File("stderr");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Stdout() const { return ReadAll(dir_.File("stdout")); }
  std::string Stderr() const { return ReadAll(dir_.File("stderr")); }

  // The caption the core renders, for what a command should have written.
  static Bitmap Rendered(const std::string& text, const CaptionStyle& style = {}) {
    FontEngine engine;
    Bitmap caption;
    RenderCaption(caption, text, style, engine);
    return caption;
  }

  static void ExpectSameImage(const Bitmap& written, const Bitmap& expected) {
    ASSERT_EQ(written.Width(), expected.Width());
    ASSERT_EQ(written.Height(), expected.Height());
    ASSERT_EQ(written.ImageSize(), expected.ImageSize());
    EXPECT_EQ(std::memcmp(written.Bits(), expected.Bits(), expected.ImageSize()), 0);
  }

  TempDir dir_;
};

}  // namespace glyphary
