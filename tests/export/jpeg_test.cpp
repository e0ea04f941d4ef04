#include <gtest/gtest.h>

#include <csetjmp>
#include <filesystem>

#include <jerror.h>

#include "export/export.h"
#include "export/jpeg_error.h"
#include "test_support.h"

namespace glyphary {
namespace {

using ByteList = std::vector<std::uint8_t>;

struct Decoded {
  int width = 0, height = 0;
  bool baseline = false;
  std::vector<int> quant;            // every entry of every table
  std::vector<std::uint8_t> pixels;  // RGB, top row first
  TColor At(int x, int y) const {
    const std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * 3];
    return Rgb(p[0], p[1], p[2]);
  }
};

void ReadInto(jpeg_decompress_struct& cinfo, Decoded& out) {
  jpeg_read_header(&cinfo, TRUE);
  out.baseline = !cinfo.progressive_mode && cinfo.saw_JFIF_marker &&
                 cinfo.jpeg_color_space == JCS_YCbCr && cinfo.num_components == 3;
  for (JQUANT_TBL* table : cinfo.quant_tbl_ptrs)
    if (table) out.quant.insert(out.quant.end(), table->quantval, table->quantval + DCTSIZE2);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = int(cinfo.output_width);
  out.height = int(cinfo.output_height);
  out.pixels.resize(std::size_t(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out.pixels[std::size_t(cinfo.output_scanline) * out.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
}

// Decodes with the real library; a stream it rejects fails the test.
Decoded Decode(const ByteList& bytes) {
  Decoded out;
  jpeg_decompress_struct cinfo{};
  JpegErrorManager error{};
  cinfo.err = InstallJpegErrorManager(error);
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ADD_FAILURE() << "libjpeg could not decode, message " << error.pub.msg_code;
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  ReadInto(cinfo, out);
  jpeg_destroy_decompress(&cinfo);
  return out;
}

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
  const Decoded d = Decode(Encode(bitmap, 90));
  ASSERT_EQ(d.width, 16);
  ASSERT_EQ(d.height, 32);
  ExpectNear(d.At(8, 4), Rgb(255, 0, 0));
  ExpectNear(d.At(8, 28), Rgb(0, 0, 255));
}

TEST(JpegWriter, QualityHundredStaysBaselineWithEveryTableEntryInRange) {
  const ByteList bytes = Encode(Bitmap(8, 8), 100);
  const Decoded d = Decode(bytes);
  EXPECT_TRUE(d.baseline);
  EXPECT_TRUE(HasMarker(bytes, 0xC0));  // SOF0
  ASSERT_FALSE(d.quant.empty());
  for (int q : d.quant) EXPECT_TRUE(q >= 1 && q <= 255) << q;
  EXPECT_GT(Decode(Encode(Bitmap(8, 8), 10)).quant[0], d.quant[0]);  // the quality is used
}

TEST(JpegWriter, LargeNoisyImageOutgrowsTheFirstBufferIntact) {
  Bitmap bitmap(600, 400);
  std::uint32_t seed = 1;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 1800; ++x)
      bitmap.Row(y)[x] = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  const ByteList bytes = Encode(bitmap, 100);
  EXPECT_GT(bytes.size(), 256u * 1024);
  EXPECT_EQ(Decode(bytes).height, 400);
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
