#include <gtest/gtest.h>

#include <random>
#include <set>

#include "export/export.h"
#include "export/palette.h"

namespace glyphary {
namespace {

PaletteEntry Entry(int r, int g, int b) {
  return PaletteEntry{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), 0};
}

TEST(NearestPaletteIndex, LowestIndexWinsTiesAndExactMatchesWinOutright) {
  EXPECT_EQ(NearestPaletteIndex({}, kColorWhite), -1);
  const std::vector<PaletteEntry> palette = {Entry(0, 0, 20), Entry(10, 0, 0), Entry(0, 10, 0),
                                             Entry(5, 5, 5)};
  EXPECT_EQ(NearestPaletteIndex(palette, Rgb(0, 0, 0)), 1);  // 20, 10, 10, 15: first of the tie
  EXPECT_EQ(NearestPaletteIndex(palette, Rgb(5, 5, 5)), 3);  // exact
  // Sums of differences (90 against 60), not of squares (2700 against 3600).
  EXPECT_EQ(NearestPaletteIndex(std::vector{Entry(30, 30, 30), Entry(60, 0, 0)}, kColorBlack), 1);
  std::vector<PaletteEntry> large(300, Entry(0, 0, 0));
  large[280] = Entry(255, 255, 255);
  EXPECT_EQ(NearestPaletteIndex(large, kColorWhite), 0);  // only 256 entries count
}

TEST(HalftonePalette, HoldsTheNamedColoursAndNoDuplicates) {
  const auto& palette = HalftonePalette();
  EXPECT_EQ(palette[0], Entry(0, 0, 0));
  const std::set<TColor> distinct = [&] {
    std::set<TColor> s;
    for (const PaletteEntry& e : palette) s.insert(Rgb(e.red, e.green, e.blue));
    return s;
  }();
  EXPECT_EQ(distinct.size(), 256u);
  for (TColor named :
       {0x00000000u, 0x00000080u, 0x00008000u, 0x00008080u, 0x00800000u, 0x00800080u, 0x00808000u,
        0x00808080u, 0x00C0C0C0u, 0x000000FFu, 0x0000FF00u, 0x0000FFFFu, 0x00FF0000u, 0x00FF00FFu,
        0x00FFFF00u, 0x00FFFFFFu, 0x00C0DCC0u, 0x00F0CAA6u, 0x00F0FBFFu, 0x00A4A0A0u})
    EXPECT_TRUE(distinct.count(named)) << std::hex << named;
}

TEST(ReduceTo256Colors, EveryPixelTakesTheNearestEntry) {
  for (int bpp : {24, 32}) {
    Bitmap b(37, 23, bpp);  // odd width: rows are padded
    std::mt19937 random(bpp);
    for (int y = 0; y < b.Height(); ++y)
      for (std::size_t i = 0; i < std::size_t(b.Width()) * (bpp / 8); ++i)
        b.Row(y)[i] = y < 12 ? random() : std::uint8_t(i * 7 + y);  // noise, then gradients
    const Bitmap original = b;
    ReduceTo256Colors(b);
    ASSERT_EQ(b.BitsPerPixel(), 8);
    ASSERT_EQ(b.Width(), 37);
    ASSERT_EQ(b.Height(), 23);
    const auto& palette = HalftonePalette();
    ASSERT_TRUE(std::equal(palette.begin(), palette.end(), b.Palette().begin(), b.Palette().end()));
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        ASSERT_EQ(b.Row(y)[x], NearestPaletteIndex(palette, original.PixelAt(x, y)))
            << x << "," << y;
  }
}

TEST(ReduceTo256Colors, PaletteImagesAreMappedThroughTheirOwnPalette) {
  Bitmap b(2, 1, 8);
  b.SetPalette({Entry(255, 255, 255), Entry(1, 0, 130)});
  b.Row(0)[0] = 1;
  b.Row(0)[1] = 0;
  ReduceTo256Colors(b);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(0, 0, 128));
  EXPECT_EQ(b.PixelAt(1, 0), kColorWhite);
}

}  // namespace
}  // namespace glyphary
