// What a written PNG says about its options, read from its chunks alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace glyphary {

struct PngSummary {
  int colourType = -1;                                    // 2 truecolour, 3 palette
  std::optional<std::vector<std::uint8_t>> transparency;  // the tRNS data
};

inline PngSummary ReadPngSummary(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  const auto be32 = [&](std::size_t at) {
    return std::uint32_t(bytes.at(at)) << 24 | std::uint32_t(bytes.at(at + 1)) << 16 |
           std::uint32_t(bytes.at(at + 2)) << 8 | bytes.at(at + 3);
  };
  PngSummary summary;
  for (std::size_t at = 8; at + 8 <= bytes.size();) {
    const std::uint32_t length = be32(at);
    const std::string type(bytes.begin() + std::ptrdiff_t(at + 4),
                           bytes.begin() + std::ptrdiff_t(at + 8));
    const auto data = bytes.begin() + std::ptrdiff_t(at + 8);
    if (type == "IHDR") summary.colourType = bytes.at(at + 8 + 9);
    if (type == "tRNS") summary.transparency.emplace(data, data + length);
    at += 12 + std::size_t(length);
  }
  return summary;
}

// The tRNS data of a truecolour image: red, green, blue as 16-bit samples.
inline std::vector<std::uint8_t> TransparentRgb(TColor c) {
  return {0, RedOf(c), 0, GreenOf(c), 0, BlueOf(c)};
}

}  // namespace glyphary
