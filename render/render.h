// Public interface of the rendering core: colours, bitmaps, resampling and
// caption rendering. Nothing in here depends on a GUI toolkit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glyphary {

// A failure whose message (UTF-8, Japanese where the user sees it) is shown
// to the user as it stands.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- program files

// The full path of the running program, from /proc/self/exe.
std::string ExecutablePath();
// A file shipped with the program, by its path below the program's data
// folder ("fonts/glyphary-fonts.conf"): beside the executable (build tree,
// portable copy), else in ../share/glyphary (installed). Empty when neither.
std::string FindProgramFileFor(std::string_view executablePath, std::string_view relativePath);
std::string FindProgramFile(std::string_view relativePath);
// The help document, help/index.htm, as FindProgramFile finds it; where it
// would lie beside the executable when it is nowhere, since the caller only
// hands the path to the desktop and reports nothing itself.
std::string HelpDocumentPath();

// ---------------------------------------------------------------- colours

// 0x00BBGGRR for an explicit colour; 0x800000nn names system colour nn.
using TColor = std::uint32_t;

inline constexpr TColor kColorNone = 0xFFFFFFFF;  // "no colour" in optional fields
inline constexpr TColor kColorBlack = 0x00000000;
inline constexpr TColor kColorWhite = 0x00FFFFFF;

constexpr std::uint8_t RedOf(TColor c) {
  return c & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor c) {
  return (c >> 16) & 0xFF;
}
constexpr TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}

bool IsSystemColor(TColor c);
// Resolves a system colour through our fixed table; other values pass unchanged.
TColor ColorToRGB(TColor c);

// ---------------------------------------------------------------- bitmap

struct PaletteEntry {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// Device-independent bitmap: 8, 24 or 32 bits per pixel, rows padded to 4
// bytes and stored bottom-up; Row(0) is the top row. Pixels are blue, green,
// red (and a fourth byte at 32 bits).
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, int bitsPerPixel = 24);
  // Pixels left unset (row padding zeroed), for callers that write every one.
  static Bitmap Uninitialised(int width, int height, int bitsPerPixel = 24);

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  int BitsPerPixel() const noexcept { return bpp_; }
  bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  std::size_t Stride() const noexcept { return StrideFor(width_, bpp_); }
  static std::size_t StrideFor(int width, int bitsPerPixel) noexcept;

  std::uint8_t* Row(int row) noexcept { return data_.data() + RowOffset(row); }
  const std::uint8_t* Row(int row) const noexcept { return data_.data() + RowOffset(row); }
  // The whole image as it lies in memory: bottom row first, rows padded.
  std::uint8_t* Bits() noexcept { return data_.data(); }
  const std::uint8_t* Bits() const noexcept { return data_.data(); }
  std::size_t ImageSize() const noexcept { return data_.size(); }

  const std::vector<PaletteEntry>& Palette() const noexcept { return palette_; }
  void SetPalette(std::vector<PaletteEntry> palette) { palette_ = std::move(palette); }

  // Colour given to pixels that a resize adds; white for a new bitmap.
  TColor BrushColor() const noexcept { return brush_; }
  void SetBrushColor(TColor color) noexcept { brush_ = ColorToRGB(color); }

  // Keeps every pixel inside both sizes; new pixels take the brush colour.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Converts between 8 (palette), 24 and 32 bits; only 24 and 32 are targets.
  void SetBitsPerPixel(int bitsPerPixel);
  // Fills the whole image with a colour (the fourth byte becomes 0).
  void Fill(TColor color);
  // The pixel as 0x00BBGGRR, whatever the format; for checks and tests.
  TColor PixelAt(int x, int y) const noexcept;

 private:
  std::size_t RowOffset(int row) const noexcept {
    return std::size_t(height_ - 1 - row) * Stride();
  }
  void FillRun(std::uint8_t* p, int count, TColor color) const noexcept;
  // An unset image of the given shape (padding zeroed) that keeps this bitmap's brush.
  Bitmap Blank(int width, int height, int bitsPerPixel) const;

  // Leaves elements made without a value unset; every resize but the one in
  // Uninitialised gives a value.
  template <typename T>
  struct UnsetAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
      using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <typename U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  int width_ = 0, height_ = 0, bpp_ = 24;
  TColor brush_ = kColorWhite;
  std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>> data_;
  std::vector<PaletteEntry> palette_;
};

// ---------------------------------------------------------------- resampling

// Progress callback: percentage done, 0 to 100.
using ProgressProc = void (*)(std::int32_t percent);

// Resizes a bitmap in place; a non-empty result is always 24 bits per pixel.
void StretchBitmap(Bitmap& bitmap, int width, int height, ProgressProc progress = nullptr);

// An image made a row at a time on demand, for a reduction that need not hold
// it whole. Rows are asked for in order, each once.
class RowProducer {
 public:
  virtual ~RowProducer() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Writes row y (0 is the top) as Width() pixels of blue, green, red.
  virtual void WriteRow(int y, std::uint8_t* pixels) const = 0;
  // Rows above y will not be asked for again. Rows are asked for top first.
  virtual void ForgetRowsBefore(int /*y*/) const {}
};

// What StretchBitmap(image, w / 2, h / 2) makes of the w × h image that rows
// produces, reading it a few rows at a time.
Bitmap HalveRows(const RowProducer& rows);

// ---------------------------------------------------------------- caption style

struct CaptionStyle {
  std::string faceName = "ＭＳ Ｐゴシック";
  std::int32_t pointSize = 25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  TColor textColor = kColorBlack;
  TColor backgroundColor = kColorWhite;
};

struct ExportOptions {
  int jpegQuality = 70;  // 10..100
  bool pngTransparent = false;
  bool png256Colors = false;
  // PNG with an alpha channel: the ink's coverage as alpha over a fully
  // transparent background; the two options above do not apply then.
  bool pngAlpha = false;
};

inline constexpr int kMinJpegQuality = 10, kMaxJpegQuality = 100;

constexpr int ClampJpegQuality(int quality) {
  return quality < kMinJpegQuality   ? kMinJpegQuality
         : quality > kMaxJpegQuality ? kMaxJpegQuality
                                     : quality;
}

// Changing the transparent flag sets the 256-colour flag to the same value;
// the 256-colour flag alone can be changed afterwards.
constexpr void SetPngTransparent(ExportOptions& options, bool transparent) {
  if (options.pngTransparent == transparent) return;
  options.pngTransparent = transparent;
  options.png256Colors = transparent;
}

// ---------------------------------------------------------------- fonts

// The face a new font starts with, and the one "Default" and an empty name select.
inline constexpr char kDefaultFaceName[] = "ＭＳ Ｐゴシック";
// A font uses at most this many bytes of its face name, counted in Shift-JIS.
inline constexpr std::size_t kMaxFaceNameBytes = 31;

// a × b / c without overflow, rounded to nearest with halves away from zero;
// -1 when c is 0 or the result does not fit, as the platform's MulDiv.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
// The face name as a font holds it: cut to 31 bytes of Shift-JIS (a character
// that Shift-JIS lacks counts two), never inside a character.
std::string CutFaceName(const std::string& name);

struct FontDescription {
  std::string faceName;     // "Default" (any case) and "" select kDefaultFaceName
  std::int32_t height = 0;  // <0: em height in pixels; >0: cell height; 0: default
  bool shiftJis = false;    // character set 128: Japanese glyph forms and fallback
  bool bold = false, italic = false, underline = false;
  TColor color = kColorBlack;
};

// Loads our font configuration (the Windows face names) into fontconfig's
// current configuration. Call before a toolkit reads the font list, so its
// own widgets resolve the same names; later font use calls it anyway.
void InitializeFonts();

struct TextExtent {
  int cx = 0;  // advance width in pixels
  int cy = 0;  // cell height in pixels: the font's OS/2 win ascent + descent
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
  // top-left; it reaches past the cell where glyphs do. Empty for no ink.
  PixelBox InkBox(const FontDescription& font, const std::string& text);
  // Draws the text in black, without background, into a 32-bit image of
  // width × height pixels (top row first, `stride` bytes a row) that shows the
  // text's coordinates from (originX, originY); the text cell's top-left is (0, 0).
  void DrawBlackText(const FontDescription& font, const std::string& text, std::uint8_t* pixels,
                     int width, int height, int stride, int originX, int originY);
  // Characters of the text that no font has a glyph for.
  int UnknownGlyphs(const FontDescription& font, const std::string& text);
  // Memory for scratch images, kept between drawings, its bytes unset; valid
  // until the next call.
  std::span<std::uint8_t> Scratch(std::size_t bytes);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------- captions

// Blends text in the font's colour into a 32-bit bitmap with 2 × 2
// supersampling, the text's top-left at (x, y). The fourth byte is kept.
void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine);

// Crops a bitmap to the pixels that differ from `background` (compared as
// stored, unresolved) plus a fixed margin; the left edge is not cropped.
void TrimToContent(Bitmap& bitmap, TColor background);

// Renders a caption into `target`, which ends 24-bit whatever it held before.
// Throws Error when the caption is too large to be made.
void RenderCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                   FontEngine& engine);
// The same caption with real transparency: 32 bits, every pixel of the text
// colour, its fourth byte the ink's coverage (0 where only background shows).
// It has exactly RenderCaption's size.
void RenderAlphaCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                        FontEngine& engine);

}  // namespace glyphary
