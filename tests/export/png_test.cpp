#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "export/export.h"
#include "export/png_writer.h"
#include "png_facts.h"
#include "test_support.h"

namespace glyphary {
namespace {

using ByteVec = std::vector<std::uint8_t>;

struct Chunk {
  std::string type;
  ByteVec data;
};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Splits a file into chunks, checking the signature, every CRC and that
// nothing follows IEND.
std::vector<Chunk> ReadChunks(const std::string& path) {
  const ByteVec file = ReadBytes(path);
  const ByteVec signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_TRUE(file.size() >= 8 && std::equal(signature.begin(), signature.end(), file.begin()));
  std::vector<Chunk> chunks;
  std::size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const std::uint32_t length = BigEndian32(&file[pos]);
    if (pos + 12 + length > file.size()) break;
    const std::uint8_t* type = &file[pos + 4];
    Chunk c{std::string(type, type + 4), ByteVec(type + 4, type + 4 + length)};
    EXPECT_EQ(BigEndian32(type + 4 + length), crc32(0, type, 4 + length)) << c.type;
    pos += 12 + length;
    chunks.push_back(std::move(c));
  }
  EXPECT_EQ(pos, file.size());
  EXPECT_TRUE(!chunks.empty() && chunks.back().type == "IEND");
  return chunks;
}

std::vector<std::string> Types(const std::vector<Chunk>& chunks) {
  std::vector<std::string> types;
  for (const Chunk& c : chunks) types.push_back(c.type);
  return types;
}

// The first chunk of a type, or one typed "none".
const Chunk& Find(const std::vector<Chunk>& chunks, const std::string& type) {
  static const Chunk none{"none", {}};
  for (const Chunk& c : chunks)
    if (c.type == type) return c;
  return none;
}

ByteVec InflateImageData(const std::vector<Chunk>& chunks) {
  ByteVec compressed, raw(1 << 22);
  for (const Chunk& c : chunks)
    if (c.type == "IDAT") compressed.insert(compressed.end(), c.data.begin(), c.data.end());
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), compressed.size()), Z_OK);
  raw.resize(size);
  return raw;
}

std::uint32_t Opaque(TColor c) {
  return c | 0xFF000000u;
}

// A caption-like image: background with a block of text colour and a grey edge.
Bitmap Caption(TColor background, TColor text) {
  Bitmap b(9, 5);
  b.Fill(background);
  for (int y = 1; y < 4; ++y)
    for (int x = 2; x < 6; ++x) {
      const TColor c = x == 5 ? Rgb(128, 128, 128) : text;
      std::uint8_t* p = b.Row(y) + x * 3;
      p[0] = BlueOf(c), p[1] = GreenOf(c), p[2] = RedOf(c);
    }
  return b;
}

Bitmap Noise(int width, int height, int bpp, unsigned seed) {
  Bitmap b(width, height, bpp);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < std::size_t(width) * (bpp / 8); ++i) b.Row(y)[i] = random();
  return b;
}

class PngFileTest : public ::testing::Test {
 protected:
  std::string Write(const Bitmap& b, ExportOptions options = {}, TColor background = kColorWhite,
                    ExportRun run = ExportRun::SaveAs) {
    WritePngFile(b, path_, options, background, run);
    return path_;
  }
  TempDir dir_;
  std::string path_ = dir_.File("out.png");
  ExportOptions transparent_{70, true, false}, transparent256_{70, true, true};
};

TEST_F(PngFileTest, PlainFileHasTheFixedChunksAndUnfilteredRgbRowsTopDown) {
  Bitmap b(3, 2);
  b.Fill(kColorWhite);
  b.Row(0)[0] = 10;  // blue, green, red of the top left pixel
  b.Row(0)[1] = 20;
  b.Row(0)[2] = 30;
  const auto chunks = ReadChunks(Write(b));
  EXPECT_EQ(Types(chunks),
            (std::vector<std::string>{"IHDR", "tIME", "tEXt", "tpNG", "gAMA", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].data, (ByteVec{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
  EXPECT_EQ(chunks[1].data.size(), 7u);
  EXPECT_EQ(std::string(chunks[2].data.begin(), chunks[2].data.end()),
            std::string("Software\0ZEVPNG ver 3.4", 23));
  EXPECT_EQ(chunks[3].data, (ByteVec{'Z', 'E', 'V', '3', 0, 0, 0, 0}));
  EXPECT_EQ(chunks[4].data, (ByteVec{0x00, 0x00, 0xB1, 0x8F}));
  EXPECT_TRUE(chunks[6].data.empty());
  ByteVec rows(20, 255);
  rows[0] = rows[10] = 0;
  rows[1] = 30, rows[2] = 20, rows[3] = 10;
  EXPECT_EQ(InflateImageData(chunks), rows);
}

TEST_F(PngFileTest, TimeStampIsTheMomentOfWritingInUtc) {
  PngImage png;
  png.Assign(Caption(kColorWhite, kColorBlack));
  // 2024-02-29 23:59:58 UTC
  png.SaveToFile(path_, std::chrono::system_clock::from_time_t(1709251198));
  const auto chunks = ReadChunks(path_);
  EXPECT_EQ(Find(chunks, "tIME").data, (ByteVec{0x07, 0xE8, 2, 29, 23, 59, 58}));
}

TEST_F(PngFileTest, TransparentWhiteIn24BitsMarksOnlyTheBackgroundClear) {
  const Bitmap b = Caption(kColorWhite, kColorBlack);
  const auto chunks = ReadChunks(Write(b, transparent_));
  EXPECT_EQ(Types(chunks)[5], "tRNS");  // right after gAMA
  EXPECT_EQ(Find(chunks, "tRNS").data, (ByteVec{0, 255, 0, 255, 0, 255}));
  EXPECT_EQ(Find(chunks, "bKGD").type, "none");
  const PngFacts d = ReadPng(path_);
  EXPECT_EQ(d.At(0, 0) >> 24, 0u);
  EXPECT_EQ(d.At(2, 1), Opaque(kColorBlack));
  EXPECT_EQ(d.At(5, 1), Opaque(Rgb(128, 128, 128)));

  // A system colour is matched as the rendered bitmap holds it, resolved.
  Write(Caption(kColorWhite, kColorBlack), transparent_, 0x80000005 /* window: white */);
  const auto resolved = ReadChunks(path_);
  EXPECT_EQ(Find(resolved, "tRNS").data, (ByteVec{0, 255, 0, 255, 0, 255}));
}

// A colour key beside an alpha channel is not allowed in the format.
TEST_F(PngFileTest, AnAlphaImageCarriesNoColourKeyWhateverItWasGiven) {
  ByteVec bytes;
  PngOutputBuffer out([&](std::span<const std::uint8_t> more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
  });
  PngWriter(out, PngTime{2024, 1, 1, 0, 0, 0}, PngPixels::Rgba)
      .Write(Noise(4, 3, 32, 7), kColorWhite, kColorNone);
  out.Flush();
  WriteWholeFile(path_, bytes);
  const auto chunks = ReadChunks(path_);
  EXPECT_EQ(chunks[0].data[9], 6);
  EXPECT_EQ(Find(chunks, "tRNS").type, "none");
}

TEST_F(PngFileTest, PaletteFileCarriesPlteThenTrnsEndingAtTheBackgroundIndex) {
  const TColor background = Rgb(0, 128, 128);  // teal
  const Bitmap b = Caption(background, kColorWhite);
  const auto chunks = ReadChunks(Write(b, transparent256_, background));
  EXPECT_EQ(Types(chunks), (std::vector<std::string>{"IHDR", "tIME", "tEXt", "tpNG", "gAMA", "PLTE",
                                                     "tRNS", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].data[9], 3);
  EXPECT_EQ(Find(chunks, "PLTE").data.size(), 768u);

  Bitmap reduced = b;
  ReduceTo256Colors(reduced);
  const int index = NearestPaletteIndex(reduced.Palette(), background);
  ByteVec trns(std::size_t(index), 255);
  trns.push_back(0);
  EXPECT_EQ(Find(chunks, "tRNS").data, trns);

  const PngFacts d = ReadPng(path_);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const bool clear = b.PixelAt(x, y) == background;
      EXPECT_EQ(d.At(x, y), clear ? reduced.PixelAt(x, y) : Opaque(reduced.PixelAt(x, y)));
    }
  EXPECT_EQ(b.BitsPerPixel(), 24);  // the caller's bitmap is left alone
}

TEST_F(PngFileTest, BackgroundAtIndexZeroGivesASingleZeroByteTrns) {
  const auto chunks =
      ReadChunks(Write(Caption(kColorBlack, kColorWhite), transparent256_, kColorBlack));
  EXPECT_EQ(Find(chunks, "tRNS").data, ByteVec{0});
}

TEST_F(PngFileTest, BatchFilesNameMagentaAsBackgroundBeforeTrns) {
  const Bitmap b = Caption(kColorWhite, kColorBlack);
  auto chunks = ReadChunks(Write(b, transparent_, kColorWhite, ExportRun::Batch));
  EXPECT_EQ(Types(chunks)[5], "bKGD");
  EXPECT_EQ(Types(chunks)[6], "tRNS");
  EXPECT_EQ(Find(chunks, "bKGD").data, (ByteVec{0, 255, 0, 0, 0, 255}));

  chunks = ReadChunks(Write(b, transparent256_, kColorWhite, ExportRun::Batch));
  EXPECT_EQ(Types(chunks)[6], "bKGD");
  EXPECT_EQ(Types(chunks)[7], "tRNS");
  const ByteVec& plte = Find(chunks, "PLTE").data;
  const std::size_t magenta = Find(chunks, "bKGD").data.at(0) * 3u;
  EXPECT_EQ(ByteVec(plte.begin() + magenta, plte.begin() + magenta + 3), (ByteVec{255, 0, 255}));

  // Without transparency a batch file is a plain file.
  chunks = ReadChunks(Write(b, {}, kColorWhite, ExportRun::Batch));
  EXPECT_EQ(Find(chunks, "bKGD").type, "none");
}

TEST_F(PngFileTest, NoisyImageSplitsIntoFullIdatChunksAndARestAndDecodesExactly) {
  for (int bpp : {24, 32}) {                   // 32 bits are written as 24
    const Bitmap b = Noise(199, 130, bpp, 7);  // 77740 bytes that do not compress; padded rows
    const auto chunks = ReadChunks(Write(b));
    EXPECT_EQ(chunks[0].data[9], 2);
    std::vector<std::size_t> sizes;
    for (const Chunk& c : chunks)
      if (c.type == "IDAT") sizes.push_back(c.data.size());
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], 32768u);
    EXPECT_EQ(sizes[1], 32768u);
    EXPECT_TRUE(sizes[2] > 0 && sizes[2] < 32768u);
    const PngFacts d = ReadPng(path_);
    ASSERT_EQ(d.width, 199);
    ASSERT_EQ(d.height, 130);
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(d.At(x, y), Opaque(b.PixelAt(x, y)));
  }
}

std::size_t DeflatedSize(const ByteVec& raw) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
  ByteVec out(deflateBound(&z, raw.size()));
  z.next_in = const_cast<std::uint8_t*>(raw.data());
  z.avail_in = uInt(raw.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  deflateEnd(&z);
  return z.total_out;
}

TEST_F(PngFileTest, DataOfExactlyOneChunkLeavesNoEmptyIdatBehind) {
  // A one-row palette image of noise whose compressed data is 32768 bytes.
  Bitmap b = Noise(32768, 1, 8, 3);
  std::vector<PaletteEntry> palette(256);
  b.SetPalette(palette);
  ByteVec raw = {0};  // filter byte, then the row
  raw.insert(raw.end(), b.Row(0), b.Row(0) + b.Width());
  while (DeflatedSize(raw) > 32768) raw.pop_back();
  ASSERT_EQ(DeflatedSize(raw), 32768u) << "no width gives exactly one chunk";
  b.SetWidth(int(raw.size()) - 1);
  const auto chunks = ReadChunks(Write(b));
  const auto types = Types(chunks);
  ASSERT_EQ(std::count(types.begin(), types.end(), "IDAT"), 1);
  EXPECT_EQ(Find(chunks, "IDAT").data.size(), 32768u);
}

TEST_F(PngFileTest, UnwritableImagesAreRefusedAndTheOldFileStays) {
  WriteWholeFile(path_, Bytes("old"));
  PngImage png;
  EXPECT_THROW(png.SaveToFile(path_), Error);  // nothing assigned
  png.Assign(Bitmap(0, 4));
  EXPECT_THROW(png.SaveToFile(path_), Error);
  Bitmap palette(4, 4, 8);
  png.Assign(palette);
  EXPECT_THROW(png.SaveToFile(path_), Error);  // no palette entries
  palette.SetPalette({PaletteEntry{}, PaletteEntry{}});
  palette.Row(2)[3] = 2;
  png.Assign(palette);
  EXPECT_THROW(png.SaveToFile(path_), Error);  // a pixel beyond the palette
  EXPECT_EQ(ReadAll(path_), "old");
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_F(PngFileTest, PngcheckAcceptsWrittenFiles) {
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pngcheck";
  const Bitmap b = Caption(kColorWhite, Rgb(200, 0, 0));
  for (const ExportOptions& options : {ExportOptions{}, transparent_, transparent256_}) {
    Write(b, options, kColorWhite, ExportRun::Batch);
    EXPECT_EQ(std::system(("pngcheck -q '" + path_ + "' >/dev/null").c_str()), 0);
  }
}

TEST(PngOutputBuffer, GathersSmallWritesAndPassesLargeOnesStraightThrough) {
  std::vector<std::size_t> blocks;
  ByteVec all;
  PngOutputBuffer out([&](std::span<const std::uint8_t> bytes) {
    blocks.push_back(bytes.size());
    all.insert(all.end(), bytes.begin(), bytes.end());
  });
  ByteVec expected;
  auto write = [&](std::size_t n, std::uint8_t value) {
    const ByteVec bytes(n, value);
    out.Write(bytes);
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  };
  write(100, 1);
  write(65000, 2);  // still fits: 65100 bytes buffered
  write(600, 3);    // would not fit: the 65100 go first
  write(65520, 4);  // large: the 600 go first, then these directly
  write(5, 5);
  out.Flush();
  EXPECT_EQ(blocks, (std::vector<std::size_t>{65100, 600, 65520, 5}));
  EXPECT_EQ(all, expected);
}

}  // namespace
}  // namespace glyphary
