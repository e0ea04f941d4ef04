// A border and a shadow as a caption holds them: inside the same margins as
// any ink, growing the caption left and up where they reach there, changing
// nothing when they are off, clamped when out of range, refused when huge.
#include <gtest/gtest.h>

#include <string>

#include "effect_pixels.h"
#include "render/caption.h"
#include "render/effect.h"

namespace glyphary {
namespace {

// Black text, a red border and a magenta shadow: only the text lowers red.
CaptionStyle EffectStyle(int border, int x, int y, int blur) {
  CaptionStyle s = PlainStyle();
  s.effect.outlineWidth = border;
  s.effect.outlineColor = Rgb(255, 0, 0);
  s.effect.shadowX = x;
  s.effect.shadowY = y;
  s.effect.shadowBlur = blur;
  s.effect.shadowColor = Rgb(255, 0, 255);
  return s;
}

// The working image before the halving, made whole.
Bitmap Working(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  const WorkingCoverage w = DrawWorkingCoverage(text, style, engine);
  return TrimmedWithEffect(w, style);
}

// The box of the pixels for which `inked` holds, inclusive; right < left when none.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
template <typename Inked>
Box BoxOf(const Bitmap& b, Inked&& inked) {
  Box box;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (inked(b.PixelAt(x, y)))
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
               std::max(box.bottom, y)};
  return box;
}

struct Reach {
  const char* text;
  int border, x, y, blur;
  bool italic;
};

// In working pixels: two clear rows above all ink, one below, three clear
// columns right, and the first column clear; ink left of or above the text
// moves the text right and down by as much, and the halved working image
// is the caption.
TEST(CaptionEffect, InkSitsInsideTheMarginsWhereverTheEffectReaches) {
  FontEngine engine;
  const Reach reaches[] = {{"gyjpq ÉÅ 日本語", 3, -5, -4, 0, false},
                           {"gyjpq ÉÅ 日本語", 0, -20, -20, 10, false},
                           {"jf", 6, 0, 0, 0, true},
                           {"日本語", 2, 7, 3, 4, false},
                           {"y", 0, -1, 2, 1, true}};
  for (const Reach& r : reaches) {
    SCOPED_TRACE(std::string(r.text) + " border " + std::to_string(r.border) + " shadow " +
                 std::to_string(r.x) + "," + std::to_string(r.y) + " blur " +
                 std::to_string(r.blur));
    CaptionStyle style = EffectStyle(r.border, r.x, r.y, r.blur);
    style.italic = r.italic;
    const Bitmap working = Working(r.text, style, engine);
    const Box ink = BoxOf(working, [](TColor c) { return c != kColorWhite; });
    EXPECT_EQ(ink.top, 2);
    EXPECT_EQ(ink.bottom, working.Height() - 2);
    EXPECT_EQ(ink.right, working.Width() - 4);
    EXPECT_GE(ink.left, 1);

    CaptionStyle plainStyle = PlainStyle();
    plainStyle.italic = r.italic;
    const Bitmap plain = Working(r.text, plainStyle, engine);
    const auto text = [](TColor c) { return RedOf(c) != 255; };
    const Box before = BoxOf(plain, text), after = BoxOf(working, text);
    // The reach left and up in working pixels: the border's, or the
    // border's and the offset's and the blur's where the shadow goes there.
    const int left = std::max(2 * r.border, 2 * (r.border - r.x + r.blur));
    const int up = std::max(2 * r.border, 2 * (r.border - r.y + r.blur));
    // The faint last steps of a blur round to nothing (up to half its reach);
    // the frame widens by even steps.
    const int slack = r.blur;
    EXPECT_NEAR(after.left - std::max(before.left, left + 2), 0, 1 + slack);
    EXPECT_NEAR(after.top - before.top, up, slack);

    Bitmap halved = working;
    StretchBitmap(halved, halved.Width() / 2, halved.Height() / 2);
    EXPECT_TRUE(SameBytes(Opaque(r.text, style, engine), halved));
  }
}

// Over a system colour the trim keeps everything, as for a caption without
// an effect: a border within the cell leaves its height alone.
TEST(CaptionEffect, OverASystemColourNothingIsCropped) {
  FontEngine engine;
  CaptionStyle plain = PlainStyle();
  plain.backgroundColor = 0x8000000F;
  CaptionStyle bordered = plain;
  bordered.effect.outlineWidth = 1;
  const Bitmap a = Opaque("日本語 gyjpq", plain, engine),
               b = Opaque("日本語 gyjpq", bordered, engine);
  EXPECT_EQ(b.Height(), a.Height());
  EXPECT_GE(b.Width(), a.Width());
  EXPECT_LE(b.Width(), a.Width() + 2);
}

TEST(CaptionEffect, WithoutBorderOrOffsetNoByteChanges) {
  FontEngine engine;
  const CaptionStyle plain = PlainStyle(33);
  CaptionStyle off = plain;
  off.effect.outlineColor = Rgb(1, 2, 3);
  off.effect.shadowColor = Rgb(200, 100, 0);
  off.effect.shadowBlur = 7;
  CaptionStyle negative = off;
  negative.effect.outlineWidth = -4;
  for (const CaptionStyle& style : {off, negative}) {
    EXPECT_TRUE(SameBytes(Opaque(kEffectText, style, engine), Opaque(kEffectText, plain, engine)));
    EXPECT_TRUE(SameBytes(Transparent(kEffectText, style, engine),
                          Transparent(kEffectText, plain, engine)));
  }
}

TEST(CaptionEffect, ValuesOutOfRangeAreTakenAtTheNearestEnd) {
  FontEngine engine;
  const auto same = [&](int border, int x, int y, int blur, int border2, int x2, int y2,
                        int blur2) {
    const CaptionStyle a = EffectStyle(border, x, y, blur), b = EffectStyle(border2, x2, y2, blur2);
    return SameBytes(Opaque("Ay語", a, engine), Opaque("Ay語", b, engine)) &&
           SameBytes(Transparent("Ay語", a, engine), Transparent("Ay語", b, engine));
  };
  EXPECT_TRUE(same(1000, 0, 0, 0, kMaxOutlineWidth, 0, 0, 0));
  EXPECT_TRUE(same(2, -999, 999, 0, 2, -kMaxShadowOffset, kMaxShadowOffset, 0));
  EXPECT_TRUE(same(0, 3, 3, 1 << 30, 0, 3, 3, kMaxShadowBlur));
  EXPECT_TRUE(same(0, 3, 3, -8, 0, 3, 3, 0));
}

// A text that renders without an effect, but whose layers would span more
// working pixels than the bound.
TEST(CaptionEffect, TooLargeToLayIsRefusedAsAnError) {
  FontEngine engine;
  CaptionStyle style = PlainStyle(100);
  std::string text;
  for (int i = 0; i < 320; ++i) text += "あ";
  Bitmap caption;
  RenderCaption(caption, text, style, engine);
  ASSERT_GT(std::int64_t(caption.Width()) * caption.Height() * 4, kMaxEffectPixels);
  style.effect.outlineWidth = 1;
  try {
    RenderCaption(caption, text, style, engine);
    FAIL() << "rendered " << caption.Width() << " × " << caption.Height();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kEffectTooLarge);
  }
  EXPECT_THROW(RenderAlphaCaption(caption, text, style, engine), Error);
}

}  // namespace
}  // namespace glyphary
