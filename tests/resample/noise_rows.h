// An image of noise made a row at a time, keeping track of the rows asked for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "resample/resample.h"

namespace glyphary {

class NoiseRows final : public RowProducer {
 public:
  NoiseRows(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void WriteRow(int y, std::uint8_t* pixels) const override {
    asked.push_back(y);
    if (y < forgottenBefore) ++askedAfterForgetting;
    for (int i = 0; i < 3 * width_; ++i) pixels[i] = Byte(y, i);
  }

  // The same image made whole.
  Bitmap Whole() const {
    Bitmap b(width_, height_, 24);
    for (int y = 0; y < height_; ++y)
      for (int i = 0; i < 3 * width_; ++i) b.Row(y)[i] = Byte(y, i);
    return b;
  }

  void ForgetRowsBefore(int y) const override { forgottenBefore = std::max(forgottenBefore, y); }

  mutable std::vector<int> asked;
  mutable int forgottenBefore = 0, askedAfterForgetting = 0;

 private:
  // Every byte value, in no pattern that the kernels could line up with.
  static std::uint8_t Byte(int y, int i) {
    std::uint32_t h = std::uint32_t(y) * 2654435761u ^ std::uint32_t(i) * 2246822519u;
    h ^= h >> 15;
    return std::uint8_t(h * 2654435761u >> 24);
  }

  int width_, height_;
};

}  // namespace glyphary
