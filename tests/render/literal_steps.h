// The caption's steps as they read one by one, on whole images: the oracle
// the fast pipeline, which never makes those images, is held against.
#pragma once

#include <cstdint>
#include <string>

#include "render/antialias.h"
#include "render/render.h"

namespace glyphary {

// Blends `count` destination pixels (32-bit, from `dest`) with the text colour
// by `count` coverage bytes: coverage c keeps c + 1 parts in 256 of the
// destination. `color` is resolved.
void BlendCoverage(std::uint8_t* dest, const std::uint8_t* coverage, int count, TColor color);

// Blends text in the font's colour into a 32-bit bitmap with 2 × 2
// supersampling, the text's cell's top-left at (x, y); ink beyond the cell
// is blended too where the bitmap has room for it. The fourth byte is kept.
void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine,
                         const ScratchLimits& limits = {});

// Crops a bitmap to the pixels that differ from `background` (compared as
// stored, unresolved) plus a fixed margin: two rows above, one below, three
// columns right of the last ink column, the left edge kept and the ink moved
// one column right.
void TrimToContent(Bitmap& bitmap, TColor background);

}  // namespace glyphary
