#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "export/bmp_format.h"
#include "export/export.h"
#include "test_support.h"

namespace glyphary {
namespace {

using bmp::Put16;
using bmp::Put32;
using ByteList = std::vector<std::uint8_t>;

// A hand-made BMP; `extra` (masks or colour table) and `pixels` follow the headers.
struct BmpFields {
  std::int32_t width = 2, height = 2;
  std::uint16_t bpp = 24, planes = 1;
  std::uint32_t infoSize = 40, compression = 0, clrUsed = 0;
  ByteList extra = {};
  ByteList pixels = ByteList(16);
  std::int64_t offBits = -1;  // default: right after the headers and `extra`
};

ByteList MakeBmp(const BmpFields& s) {
  ByteList f(14 + s.infoSize, 0);
  const auto offBits = std::uint32_t(s.offBits >= 0 ? s.offBits : f.size() + s.extra.size());
  Put16(&f[0], 0x4D42);
  Put32(&f[10], offBits);
  Put32(&f[14], s.infoSize);
  Put32(&f[18], std::uint32_t(s.width));
  Put32(&f[22], std::uint32_t(s.height));
  Put16(&f[26], s.planes);
  Put16(&f[28], s.bpp);
  Put32(&f[30], s.compression);
  Put32(&f[46], s.clrUsed);
  f.insert(f.end(), s.extra.begin(), s.extra.end());
  f.insert(f.end(), s.pixels.begin(), s.pixels.end());
  return f;
}

class BmpReader : public ::testing::Test {
 protected:
  Bitmap Read(const ByteList& bytes) {
    WriteWholeFile(dir_.File("in.bmp"), bytes);
    return ReadBmpFile(dir_.File("in.bmp"));
  }
  std::string ErrorOf(const ByteList& bytes) {
    try {
      Read(bytes);
    } catch (const Error& e) {
      return e.what();
    }
    return "no error";
  }
  TempDir dir_;
};

TEST_F(BmpReader, WhatTheWriterWritesComesBackByteForByte) {
  Bitmap original(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 15; ++x) original.Row(y)[x] = std::uint8_t(y * 40 + x * 7);
  WriteBmpFile(original, dir_.File("a.bmp"));
  const Bitmap read = ReadBmpFile(dir_.File("a.bmp"));
  ASSERT_EQ(read.ImageSize(), original.ImageSize());
  EXPECT_EQ(read.Width(), 5);
  EXPECT_EQ(std::memcmp(read.Bits(), original.Bits(), read.ImageSize()), 0);
}

TEST_F(BmpReader, TopDownRowsComeFirstAndPaddingIsCleared) {
  // 1 × 2, top row red, bottom row blue, padding bytes filled with junk.
  const Bitmap b =
      Read(MakeBmp({.width = 1, .height = -2, .pixels = {0, 0, 255, 0xAA, 255, 0, 0, 0xBB}}));
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(b.PixelAt(0, 1), Rgb(0, 0, 255));
  EXPECT_EQ(b.Row(0)[3] | b.Row(1)[3], 0);
}

TEST_F(BmpReader, EightBitFilesKeepTheirPalette) {
  const Bitmap b = Read(MakeBmp({.width = 3,
                                 .height = 1,
                                 .bpp = 8,
                                 .clrUsed = 2,
                                 .extra = {9, 8, 7, 0, 1, 2, 3, 0},
                                 .pixels = {1, 0, 1, 0}}));
  EXPECT_EQ(b.BitsPerPixel(), 8);
  EXPECT_EQ(b.Palette().size(), 2u);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(3, 2, 1));
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(7, 8, 9));
}

// The usual form from other programs: 0 colours used means a full table.
TEST_F(BmpReader, EightBitsWithZeroColoursUsedTakeAll256Entries) {
  ByteList table(256 * 4, 0);
  table[4 * 255 + 2] = 200;  // entry 255: red 200
  table[4 * 7] = 50;         // entry 7: blue 50
  const BmpFields fields{
      .width = 2, .height = 1, .bpp = 8, .clrUsed = 0, .extra = table, .pixels = {255, 7, 0, 0}};
  const Bitmap b = Read(MakeBmp(fields));
  EXPECT_EQ(b.Palette().size(), 256u);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(0, 0, 50));
  WriteWholeFile(dir_.File("in.bmp"), MakeBmp(fields));
  const Bitmap wide = ReadBmpFile(dir_.File("in.bmp"), BmpPixels::As24Bits);
  EXPECT_EQ(wide.BitsPerPixel(), 24);
  EXPECT_EQ(wide.PixelAt(0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(wide.PixelAt(1, 0), Rgb(0, 0, 50));
}

// Read as 24 bits, every format gives what the bitmap's own conversion gives.
TEST_F(BmpReader, TwentyFourBitReadingMatchesConvertingAfterwards) {
  const ByteList table = {9, 8, 7, 0, 1, 2, 3, 0};
  const std::vector<BmpFields> files = {
      {.width = 3,
       .height = -2,
       .bpp = 8,
       .clrUsed = 2,
       .extra = table,
       .pixels = {1, 0, 5, 0, 0, 1, 1, 0}},  // index 5 lies beyond the table
      {.width = 2,
       .height = 2,
       .bpp = 32,
       .pixels = ByteList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {.width = 1, .height = -3, .pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}},
  };
  for (const BmpFields& fields : files) {
    Bitmap expected = Read(MakeBmp(fields));
    expected.SetBitsPerPixel(24);
    const Bitmap wide = ReadBmpFile(dir_.File("in.bmp"), BmpPixels::As24Bits);
    ASSERT_EQ(wide.ImageSize(), expected.ImageSize());
    EXPECT_EQ(std::memcmp(wide.Bits(), expected.Bits(), wide.ImageSize()), 0) << fields.bpp;
  }
}

TEST_F(BmpReader, OnlyRegularFilesAreReadAndAFifoDoesNotBlock) {
  const std::string fifo = dir_.File("pipe.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, dir_.Path(), std::string("/dev/zero")}) {
    try {
      ReadBmpFile(path);
      ADD_FAILURE() << path << " was read";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()),
                "ファイル " + path + " を読み込めません (通常のファイルではありません)");
    }
  }
}

// A sparse file claiming 1.6 GB of 8-bit pixels would need 4.8 GB at 24 bits:
// refused from its header, before a pixel is read.
TEST_F(BmpReader, AnImageTooLargeAt24BitsIsRefusedBeforeReadingPixels) {
  const std::string path = dir_.File("huge.bmp");
  WriteWholeFile(path, MakeBmp({.width = 40000,
                                .height = 40000,
                                .bpp = 8,
                                .clrUsed = 1,
                                .extra = {0, 0, 0, 0},
                                .pixels = {}}));
  ASSERT_EQ(::truncate(path.c_str(), 1078 + 40000LL * 40000), 0);
  try {
    ReadBmpFile(path, BmpPixels::As24Bits);
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("画像が大きすぎます"), std::string::npos) << e.what();
  }
}

TEST_F(BmpReader, ThirtyTwoBitsPlainOrWithStandardBitFieldsInAnyHeaderSize) {
  ByteList masks(12);
  Put32(&masks[0], 0x00FF0000);
  Put32(&masks[4], 0x0000FF00);
  Put32(&masks[8], 0x000000FF);
  const BmpFields plain{.width = 1, .height = 1, .bpp = 32, .pixels = {10, 20, 30, 0xFF}};
  BmpFields fields = plain;
  fields.compression = 3;
  fields.extra = masks;  // after a 40-byte header
  BmpFields v5 = fields;
  v5.infoSize = 124;
  v5.extra = {};
  ByteList v5bytes = MakeBmp(v5);
  std::copy(masks.begin(), masks.end(), v5bytes.begin() + 54);  // inside the header
  for (const ByteList& bytes : {MakeBmp(plain), MakeBmp(fields), v5bytes})
    EXPECT_EQ(Read(bytes).PixelAt(0, 0), Rgb(30, 20, 10));
  v5bytes[54] = 0xFF;  // red mask no longer standard
  EXPECT_NE(ErrorOf(v5bytes).find("対応していない形式"), std::string::npos);
}

TEST_F(BmpReader, UnreadableFileNamesThePath) {
  const std::string path = dir_.File("missing.bmp");
  try {
    ReadBmpFile(path);
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "ファイル " + path + " を読み込めません (" + std::strerror(ENOENT) + ")");
  }
}

TEST_F(BmpReader, ForeignTruncatedAndImpossibleFilesAreRejectedWithoutHugeAllocations) {
  EXPECT_NE(ErrorOf({'P', 'K', 3, 4}).find("BMP ファイルではありません"), std::string::npos);
  EXPECT_NE(ErrorOf({}).find("BMP ファイルではありません"), std::string::npos);
  std::vector<ByteList> corrupt;
  const ByteList whole = MakeBmp({.width = 1, .height = 1, .pixels = {1, 2, 3, 0}});
  for (std::size_t cut : {16u, 30u, 57u}) corrupt.emplace_back(whole.begin(), whole.begin() + cut);
  for (const BmpFields& s : std::vector<BmpFields>{
           {.width = 0},
           {.height = std::numeric_limits<std::int32_t>::min()},
           {.width = 100000, .height = 100000},  // claims 30 GB
           {.width = 0x7FFFFFFF, .height = -0x7FFFFFFF},
           {.bpp = 8, .clrUsed = 257},
           {.bpp = 8, .clrUsed = 200},  // table runs past the end
           {.offBits = 1000},
           {.offBits = 20},  // pixels inside the headers
       })
    corrupt.push_back(MakeBmp(s));
  for (std::size_t i = 0; i < corrupt.size(); ++i)
    EXPECT_NE(ErrorOf(corrupt[i]).find("壊れています"), std::string::npos) << i;
}

TEST_F(BmpReader, FormatsWeDoNotTakeSaySo) {
  std::vector<ByteList> files = {
      MakeBmp({.bpp = 16}), MakeBmp({.bpp = 8, .compression = 1}),  // RLE
      MakeBmp({.compression = 3}),                                  // bit fields at 24 bits
  };
  for (std::uint32_t infoSize : {12u, 0xFFFFFFF0u}) {  // OS/2 core header, absurd size
    files.push_back(MakeBmp({}));
    Put32(&files.back()[14], infoSize);
  }
  for (std::size_t i = 0; i < files.size(); ++i)
    EXPECT_NE(ErrorOf(files[i]).find("対応していない形式"), std::string::npos) << i;
}

}  // namespace
}  // namespace glyphary
