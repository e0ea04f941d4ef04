// Internals of caption rendering, open to tests and benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/antialias.h"
#include "render/render.h"
#include "resample/resample.h"

namespace glyphary {

// What the engine can hold. The working image is the largest image of a
// rendering; the scratch line must stay inside Pango's 32-bit coordinates
// (1/1024 pixel units) and Cairo's 24.8 fixed point.
inline constexpr std::size_t kMaxWorkingBytes = std::size_t(512) << 20;
inline constexpr std::int64_t kMaxWorkingSide = std::int64_t(1) << 20;
inline constexpr std::int64_t kMaxScratchEmPixels = std::int64_t(1) << 19;
inline constexpr std::int64_t kMaxScratchLinePixels = std::int64_t(1) << 21;

// The working font of a style: twice the point size, measured as a new font
// of the Japanese system (character set 128). Throws Error when too large.
FontDescription WorkingFont(const CaptionStyle& style, const FontEngine& engine);

// Everything up to the halving: the 32-bit working image, filled, drawn and trimmed.
void RenderWorkingCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                          FontEngine& engine, const ScratchLimits& limits = {});

// The text's coverage of the working image, and that image's size; for a
// gradient fill, where the ink of each line (each character, in vertical
// text) runs.
struct WorkingCoverage {
  Coverage coverage;
  int width = 0, height = 0;
  std::vector<InkSpan> spans{};
  bool vertical = false;
};
WorkingCoverage DrawWorkingCoverage(const std::string& text, const CaptionStyle& style,
                                    FontEngine& engine, const ScratchLimits& limits = {});

// The same image at 24 or 32 bits, as the halving takes it.
Bitmap TrimmedWorkingCaption(const std::string& text, const CaptionStyle& style, FontEngine& engine,
                             int bitsPerPixel, const ScratchLimits& limits = {});

// The trim of the frame around the width × height cell and any ink beyond it:
// the background with the coverage, placed where it lies against the cell,
// blended in the text colour.
Bitmap TrimmedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                           TColor textColor, int bitsPerPixel);

// `count` pixels (3 or 4 bytes each) of row y of that image's frame from
// column x, in the cell's coordinates: the coverage's shades, the background
// beyond it. Exactly count × bytesPerPixel bytes are written.
void WriteWorkingPixels(std::uint8_t* out, int y, int x, int count, const Coverage& coverage,
                        TColor background, TColor textColor, int bytesPerPixel);

// The same image at 24 bits halved as StretchBitmap would halve it, made a
// few rows at a time so that it never exists whole. Given the coverage to
// keep, it hands the coverage's memory back as the halving passes it.
Bitmap HalvedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                          TColor textColor);
Bitmap HalvedFromCoverage(Coverage&& coverage, int width, int height, TColor background,
                          TColor textColor);
// The caption as HalvedFromCoverage makes it, and its ink alone, white on
// black at 24 bits, cropped and halved as the caption is.
struct CaptionAndInk {
  Bitmap caption, ink;
};
CaptionAndInk HalvedCaptionAndInk(Coverage&& coverage, int width, int height, TColor background,
                                  TColor textColor);

// The alpha caption of an opaque caption and its ink: 32 bits of the text
// colour whose fourth byte is the ink's brightness, moved by a step or two
// where that lays the text over the background more exactly as the opaque
// caption shows it.
Bitmap AlphaCaption(const Bitmap& opaque, const Bitmap& ink, TColor background, TColor textColor);

}  // namespace glyphary
