#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "export/export.h"

namespace glyphary {
namespace {

class OutOfMemoryCli : public CliTest {};

// A size the program accepts but the memory limit cannot hold.
TEST_F(OutOfMemoryCli, ExhaustedMemoryGivesTheJapaneseMessageAndNoFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
  WriteBmpFile(Bitmap(2, 2), dir_.File("in.bmp"));
  const std::string command = "ulimit -v 400000; exec " + std::string(GLYPHARY_CLI) + " stretch " +
                              dir_.File("in.bmp") + " 20000 20000 " + dir_.File("out.bmp") + " 2>" +
                              dir_.File("stderr");
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(Stderr(), std::string("glyphary-cli stretch: ") + OutOfMemoryMessage() + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.bmp")));
}

}  // namespace
}  // namespace glyphary
