#include <gtest/gtest.h>

#include <filesystem>

#include "export/bmp_format.h"
#include "export/export.h"
#include "test_support.h"

namespace glyphary {
namespace {

using bmp::Get16;
using bmp::Get32;
using ByteList = std::vector<std::uint8_t>;

ByteList WriteAndRead(const Bitmap& bitmap) {
  TempDir dir;
  WriteBmpFile(bitmap, dir.File("a.bmp"));
  return ReadBytes(dir.File("a.bmp"));
}

TEST(BmpWriter, OneWhitePixelIsFiftyEightBytesWithTheDocumentedHeader) {
  Bitmap bitmap(1, 1);
  bitmap.Fill(kColorWhite);
  const ByteList f = WriteAndRead(bitmap);
  ASSERT_EQ(f.size(), 58u);
  // bfType, bfSize, reserved, bfOffBits, biSize, W, H, planes, bits, BI_RGB, biSizeImage.
  EXPECT_EQ(ByteList(f.begin(), f.begin() + 38),
            (ByteList{'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0,  54, 0, 0, 0, 40, 0, 0, 0, 1,
                      0,   0,   0,  1, 0, 0, 0, 1, 0, 24, 0,  0, 0, 0, 0,  4, 0, 0, 0}));
  EXPECT_EQ(ByteList(f.begin() + 38, f.end()),
            (ByteList{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
}

TEST(BmpWriter, RowsArePaddedToFourBytesAndWrittenBottomRowFirst) {
  Bitmap bitmap(3, 5);
  bitmap.Fill(kColorBlack);
  bitmap.Row(0)[0] = 0x11;  // top-left blue
  bitmap.Row(4)[8] = 0x22;  // bottom-right red
  const ByteList f = WriteAndRead(bitmap);
  ASSERT_EQ(f.size(), 54u + 12 * 5);
  EXPECT_EQ(Get32(&f[2]), 54u + 12 * 5);
  EXPECT_EQ(Get32(&f[34]), 12u * 5);
  EXPECT_EQ(f[54 + 8], 0x22);
  EXPECT_EQ(f[54 + 4 * 12], 0x11);
}

TEST(BmpWriter, ThirtyTwoBitBitmapIsStoredAsTwentyFourBits) {
  Bitmap bitmap(2, 1, 32);
  bitmap.Fill(Rgb(10, 20, 30));
  const ByteList f = WriteAndRead(bitmap);
  EXPECT_EQ(Get16(&f[28]), 24u);
  EXPECT_EQ(ByteList(f.begin() + 54, f.end()), (ByteList{30, 20, 10, 30, 20, 10, 0, 0}));
}

TEST(BmpWriter, EightBitBitmapCarriesAColourTableCoveringEveryIndexInUse) {
  Bitmap bitmap(2, 1, 8);
  bitmap.SetPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
  bitmap.Row(0)[0] = 1;
  bitmap.Row(0)[1] = 2;  // beyond the palette: black in memory, so black in the file
  const ByteList f = WriteAndRead(bitmap);
  EXPECT_EQ(Get32(&f[2]), 54u + 12 + 4);
  EXPECT_EQ(Get32(&f[10]), 66u);
  EXPECT_EQ(Get32(&f[46]), 3u);  // biClrUsed
  EXPECT_EQ(ByteList(f.begin() + 54, f.end()),
            (ByteList{1, 2, 3, 0, 4, 5, 6, 0, 0, 0, 0, 0, 1, 2, 0, 0}));
}

TEST(BmpWriter, EmptyBitmapGivesAZeroLengthFileAndOverwritingReplacesEverything) {
  TempDir dir;
  const std::string path = dir.File("a.bmp");
  WriteBmpFile(Bitmap(50, 50), path);
  WriteBmpFile(Bitmap(1, 1), path);
  EXPECT_EQ(std::filesystem::file_size(path), 58u);
  WriteBmpFile(Bitmap(0, 7), path);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  EXPECT_EQ(dir.Entries(), 1u);
}

}  // namespace
}  // namespace glyphary
