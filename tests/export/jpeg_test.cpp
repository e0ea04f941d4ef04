#include <gtest/gtest.h>

#include <filesystem>

#include <jerror.h>

#include "export/export.h"
#include "jpeg_facts.h"
#include "test_support.h"

namespace glyphary {
namespace {

using ByteList = std::vector<std::uint8_t>;

ByteList Encode(const Bitmap& bitmap, int quality = 70) {
  TempDir dir;
  WriteJpegFile(bitmap, quality, dir.File("a.jpg"));
  return ReadBytes(dir.File("a.jpg"));
}

bool HasMarker(const ByteList& bytes, std::uint8_t marker) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == marker) return true;
  return false;
}

void ExpectNear(TColor actual, TColor expected) {
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(int(actual >> shift & 0xFF), int(expected >> shift & 0xFF), 8)
        << std::hex << actual;
}

TEST(JpegWriter, ColoursKeepTheirChannelsAndRowsTheirOrder) {
  Bitmap bitmap(16, 32);
  bitmap.Fill(Rgb(255, 0, 0));
  for (int y = 16; y < 32; ++y) {  // bottom half blue
    for (int x = 0; x < 16; ++x) {
      bitmap.Row(y)[3 * x] = 255;
      bitmap.Row(y)[3 * x + 2] = 0;
    }
  }
  const JpegFacts d = DecodeJpeg(Encode(bitmap, 90));
  ASSERT_EQ(d.width, 16);
  ASSERT_EQ(d.height, 32);
  ExpectNear(d.At(8, 4), Rgb(255, 0, 0));
  ExpectNear(d.At(8, 28), Rgb(0, 0, 255));
}

TEST(JpegWriter, QualityHundredStaysBaselineWithEveryTableEntryInRange) {
  const ByteList bytes = Encode(Bitmap(8, 8), 100);
  const JpegFacts d = DecodeJpeg(bytes);
  EXPECT_TRUE(d.baseline);
  EXPECT_TRUE(HasMarker(bytes, 0xC0));  // SOF0
  ASSERT_FALSE(d.quant.empty());
  for (int q : d.quant) EXPECT_TRUE(q >= 1 && q <= 255) << q;
  EXPECT_GT(DecodeJpeg(Encode(Bitmap(8, 8), 10)).quant[0], d.quant[0]);  // the quality is used
}

TEST(JpegWriter, LargeNoisyImageOutgrowsTheFirstBufferIntact) {
  Bitmap bitmap(600, 400);
  std::uint32_t seed = 1;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 1800; ++x)
      bitmap.Row(y)[x] = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  const ByteList bytes = Encode(bitmap, 100);
  EXPECT_GT(bytes.size(), 256u * 1024);
  EXPECT_EQ(DecodeJpeg(bytes).height, 400);
  EXPECT_EQ(ByteList(bytes.end() - 2, bytes.end()), (ByteList{0xFF, 0xD9}));  // EOI
}

TEST(JpegWriter, EmptyBitmapGivesAZeroLengthFileOverAnOldOne) {
  TempDir dir;
  const std::string path = dir.File("a.jpg");
  WriteJpegFile(Bitmap(100, 100), 70, path);
  WriteJpegFile(Bitmap(0, 5), 70, path);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(JpegWriter, LibraryErrorCarriesItsNumberAndLeavesTheOldFileAlone) {
  TempDir dir;
  const std::string path = dir.File("a.jpg");
  WriteWholeFile(path, Bytes("earlier picture"));
  try {
    WriteJpegFile(Bitmap(JPEG_MAX_DIMENSION + 1, 1), 70, path);
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "JPEG エラー #" + std::to_string(JERR_IMAGE_TOO_BIG));
  }
  EXPECT_EQ(ReadAll(path), "earlier picture");
  EXPECT_EQ(dir.Entries(), 1u);
}

}  // namespace
}  // namespace glyphary
