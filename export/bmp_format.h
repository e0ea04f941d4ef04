// Little-endian field access and the fixed sizes of the Windows bitmap file
// format, shared by the BMP writer and reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glyphary::bmp {

inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
inline constexpr std::size_t kPaletteEntrySize = 4;
inline constexpr std::uint16_t kMagic = 0x4D42;  // "BM"
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;

inline void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}

inline void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

inline std::uint16_t Get16(const std::uint8_t* p) {
  return std::uint16_t(p[0] | p[1] << 8);
}

inline std::uint32_t Get32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

}  // namespace glyphary::bmp
