// Public interface of the rendering core: the caption style, fonts and the
// caption pipeline. Nothing in here depends on a GUI toolkit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "image/image.h"

namespace glyphary {

// ---------------------------------------------------------------- caption style

// A border round the text, a second one round that, and a shadow under
// them, in pixels of the finished caption; the text's fill may run from its
// colour at the top of each line's ink (each character's, in vertical text)
// to a second colour at the bottom. The defaults draw none of them, and a
// caption without them keeps every byte it had. Values outside the ranges
// are taken at the nearest end.
inline constexpr std::int32_t kMaxOutlineWidth = 20;
inline constexpr std::int32_t kMaxShadowOffset = 20;
inline constexpr std::int32_t kMaxShadowBlur = 10;

struct CaptionEffect {
  std::int32_t outlineWidth = 0;  // 0 … kMaxOutlineWidth; 0: no border
  TColor outlineColor = kColorWhite;
  std::int32_t shadowX = 0, shadowY = 0;  // ±kMaxShadowOffset each; 0, 0: no shadow
  TColor shadowColor = 0x00808080;        // clGray
  std::int32_t shadowBlur = 0;            // 0 (hard) … kMaxShadowBlur
  std::int32_t outerOutlineWidth = 0;     // 0 … kMaxOutlineWidth, outside the border
  TColor outerOutlineColor = kColorBlack;
  bool gradient = false;
  TColor gradientColor = kColorWhite;  // the fill's colour at the bottom

  bool HasOutline() const { return outlineWidth > 0; }
  bool HasOuterOutline() const { return outerOutlineWidth > 0; }
  bool HasShadow() const { return shadowX != 0 || shadowY != 0; }
  bool None() const { return !HasOutline() && !HasOuterOutline() && !HasShadow() && !gradient; }
  bool operator==(const CaptionEffect&) const = default;
};

// The face a new font starts with, and the one "Default" and an empty name select.
inline constexpr char kDefaultFaceName[] = "ＭＳ Ｐゴシック";

// How the lines of a caption are set: vertical (columns top to bottom, right
// to left), each line aligned to the start, centre or end of the longest,
// their distance a percentage of the font's natural one, and pixels of the
// caption added between characters. The defaults set one horizontal line as
// a caption always was; values outside the ranges are taken at the nearest end.
enum class TextAlign { Start, Center, End };
inline constexpr std::int32_t kMinLineSpacing = 50, kMaxLineSpacing = 300;
inline constexpr std::int32_t kMinLetterSpacing = -10, kMaxLetterSpacing = 50;

struct CaptionLayout {
  bool vertical = false;
  TextAlign align = TextAlign::Start;
  std::int32_t lineSpacing = 100;  // percent of the natural line distance
  std::int32_t letterSpacing = 0;  // caption pixels after each character
  bool operator==(const CaptionLayout&) const = default;
};

struct CaptionStyle {
  std::string faceName = kDefaultFaceName;
  std::int32_t pointSize = 25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  TColor textColor = kColorBlack;
  TColor backgroundColor = kColorWhite;
  CaptionEffect effect;
  CaptionLayout layout{};
};

// ---------------------------------------------------------------- fonts

// How a text of several lines, or a vertical one, is set in a font: as
// CaptionLayout, the letter spacing in pixels at the font's own size.
struct TextFlow {
  bool vertical = false;
  TextAlign align = TextAlign::Start;
  std::int32_t lineSpacing = 100;  // percent
  double letterSpacing = 0;        // pixels
  bool operator==(const TextFlow&) const = default;
};

struct FontDescription {
  std::string faceName;     // "Default" (any case) and "" select kDefaultFaceName
  std::int32_t height = 0;  // <0: em height in pixels; >0: cell height; 0: default
  bool shiftJis = false;    // character set 128: Japanese glyph forms and fallback
  bool bold = false, italic = false, underline = false;
  TColor color = kColorBlack;
  TextFlow flow{};
};

// A text's lines as the layout takes them: CR LF and a lone CR become LF.
std::string WithLineFeeds(std::string text);

// Loads our font configuration (the Windows face names) into fontconfig's
// current configuration. Call before a toolkit reads the font list, so its
// own widgets resolve the same names; later font use calls it anyway.
void InitializeFonts();

// A text's extent along its lines and across them. Horizontal text runs
// along x; vertical text along y, its columns from right to left.
struct TextExtent {
  int cx = 0;  // advance of the longest line in pixels
  int cy = 0;  // cell height in pixels: the font's OS/2 win ascent + descent
  // From the first line's top to the last one's (0 for one line): the
  // lines' distance as set, summed.
  int stack = 0;
};

// Whole pixels [left, right) × [top, bottom).
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr bool Empty() const noexcept { return right <= left || bottom <= top; }
  bool operator==(const PixelBox&) const = default;
};
constexpr PixelBox Union(const PixelBox& a, const PixelBox& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
          a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

// Fonts through Pango, Cairo and fontconfig at a fixed resolution. One font
// map serves the whole process; each engine keeps its own context and a few
// layouts, so repeated renderings do not rebuild them. Not thread-safe.
class FontEngine {
 public:
  // Pango's objects must not be shared between threads: an engine used on a
  // thread of its own takes a font map of its own.
  enum class FontMap { Shared, OwnForThisThread };

  explicit FontEngine(int dpi = 96, FontMap fontMap = FontMap::Shared);
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  int Dpi() const noexcept;
  // Pixel height for a point size: -MulDiv(points, dpi, 72).
  std::int32_t HeightFromPoints(std::int32_t points) const;
  // Point size read back from a pixel height: -MulDiv(height, 72, dpi).
  std::int32_t PointsFromHeight(std::int32_t height) const;

  // "Default" and every installed family, sorted ignoring case; filled once.
  static const std::vector<std::string>& FaceList();
  // Families with Japanese glyphs, in enumeration order; filled once.
  static const std::vector<std::string>& ShiftJisFaceList();
  // Exact, case-sensitive membership in the Shift-JIS face list.
  static bool IsShiftJisFont(const std::string& name);

  TextExtent Extent(const FontDescription& font, const std::string& text);
  // Every pixel that DrawBlackText may ink, relative to the text cell's
  // top-left (a vertical text's: its last column's left, its top); it
  // reaches past the cell where glyphs do. Empty for no ink.
  PixelBox InkBox(const FontDescription& font, const std::string& text);
  // Draws the text in black, without background, into a 32-bit image of
  // width × height pixels (top row first, `stride` bytes a row) that shows the
  // text's coordinates from (originX, originY); the text cell's top-left is (0, 0).
  // Glyphs in colours of their own are left out.
  void DrawBlackText(const FontDescription& font, const std::string& text, std::uint8_t* pixels,
                     int width, int height, int stride, int originX, int originY);
  // Whether some of the text's glyphs come in colours of their own (colour emoji).
  bool HasColorGlyphs(const FontDescription& font, const std::string& text);
  // Every pixel DrawColorGlyphs may touch, as InkBox; empty without them.
  PixelBox ColorInkBox(const FontDescription& font, const std::string& text);
  // Where the ink of each line runs (of each character, in vertical text):
  // the rows from its top to its bottom, over the columns its line takes.
  // Pixels of the text's coordinates, as InkBox; lines without ink left out.
  std::vector<PixelBox> InkSpans(const FontDescription& font, const std::string& text);
  // Draws those glyphs alone in their own colours over what the image holds:
  // 32-bit premultiplied blue, green, red and alpha, as DrawBlackText places them.
  void DrawColorGlyphs(const FontDescription& font, const std::string& text, std::uint8_t* pixels,
                       int width, int height, int stride, int originX, int originY);
  // Characters of the text that no font has a glyph for.
  int UnknownGlyphs(const FontDescription& font, const std::string& text);
  // Memory for scratch images, kept between drawings, its bytes unset; valid
  // until the next call.
  std::span<std::uint8_t> Scratch(std::size_t bytes);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------- captions

// Renders a caption into `target`, which ends 24-bit whatever it held before.
// Throws Error when the caption is too large to be made.
void RenderCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                   FontEngine& engine);
// The same caption with real transparency: 32 bits, every pixel of the text
// colour, its fourth byte the ink's coverage (0 where only background shows);
// with a border or shadow, each pixel the colour of the layers laid over
// transparency and their coverage as alpha. It has exactly RenderCaption's size.
void RenderAlphaCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                        FontEngine& engine);

}  // namespace glyphary
