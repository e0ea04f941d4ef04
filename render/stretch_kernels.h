// Vectorised kernels of the passes. Every byte of a destination row is a
// weighted sum of the same byte in a few source rows, whatever channel it
// holds, so rows can be treated as plain byte runs; the horizontal
// enlargement turns blocks of rows so that columns can be treated the same way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/stretch.h"

namespace glyphary {

// dst[x] = clamp((2^19 + sum of rows[i][x] * weights[i]) >> 20) over four rows.
void CubicRows(const std::uint8_t* const rows[4], std::uint8_t* dst, std::size_t n,
               const CubicWeightSet& weights);

// dst[x] = ((2^17 + sum of rows[i][x] * weights[i]) * factor) >> 40 over count
// rows; the caller vouches that every sum fits 32 bits.
void AreaRows(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
              std::uint8_t* dst, std::size_t n, std::uint32_t factor);

// Exact halving, where every output is (a + b) >> 1 of its two inputs.
// HalveRow makes one row of the given width from two rows of twice that (the
// same row twice halves the width alone); MeanOfRows averages two rows byte by
// byte.
void HalveRow(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int width);
void MeanOfRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst, std::size_t n);

// The horizontal enlargement over every whole block of 16 rows; returns how
// many rows it did and leaves the rest.
int EnlargeRowsInBlocks(const Bitmap& source, Bitmap& destination, const EnlargeTable& table);

}  // namespace glyphary
