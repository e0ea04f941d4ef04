// A PNG file as libpng reads it back, for tests that check written files
// with a decoder of their own.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/image.h"

namespace glyphary {

struct PngFacts {
  int width = 0, height = 0;
  int colorType = -1, bitDepth = 0;  // as IHDR says
  bool palette = false, transparency = false;
  std::optional<TColor> transparentColor;  // a truecolour image's tRNS
  TColor background = kColorNone;          // from bKGD
  std::vector<std::uint8_t> rgba;          // every pixel decoded to RGBA, top row first

  // Red, green, blue and alpha of a pixel as 0xAABBGGRR.
  std::uint32_t At(int x, int y) const {
    const std::uint8_t* p = &rgba[(std::size_t(y) * width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
  }
  std::uint8_t CornerAlpha() const { return rgba.empty() ? 255 : rgba[3]; }
};

namespace png_facts {

inline void ReadChunkFacts(png_structp png, png_infop info, PngFacts& facts) {
  facts.width = int(png_get_image_width(png, info));
  facts.height = int(png_get_image_height(png, info));
  facts.colorType = png_get_color_type(png, info);
  facts.bitDepth = png_get_bit_depth(png, info);
  facts.palette = facts.colorType == PNG_COLOR_TYPE_PALETTE;
  png_bytep alpha = nullptr;
  int count = 0;
  png_color_16p color = nullptr;
  if (png_get_tRNS(png, info, &alpha, &count, &color)) {
    facts.transparency = true;
    if (!facts.palette && color)
      facts.transparentColor =
          Rgb(std::uint8_t(color->red), std::uint8_t(color->green), std::uint8_t(color->blue));
  }
  png_color_16p bkgd = nullptr;
  if (!png_get_bKGD(png, info, &bkgd)) return;
  png_colorp palette = nullptr;
  int entries = 0;
  if (facts.palette && png_get_PLTE(png, info, &palette, &entries) && bkgd->index < entries)
    facts.background =
        Rgb(palette[bkgd->index].red, palette[bkgd->index].green, palette[bkgd->index].blue);
  else if (!facts.palette)
    facts.background =
        Rgb(std::uint8_t(bkgd->red), std::uint8_t(bkgd->green), std::uint8_t(bkgd->blue));
}

inline void ReadPixels(png_structp png, png_infop info, PngFacts& facts) {
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  facts.rgba.resize(std::size_t(facts.width) * facts.height * 4);
  std::vector<png_bytep> rows(std::size_t(facts.height));
  for (int y = 0; y < facts.height; ++y) rows[y] = &facts.rgba[std::size_t(y) * facts.width * 4];
  png_read_image(png, rows.data());
}

}  // namespace png_facts

// Reads a whole PNG through libpng; a file it rejects fails the test.
inline PngFacts ReadPng(const std::string& path) {
  PngFacts facts;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    ADD_FAILURE() << "cannot open " << path;
    return facts;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    ADD_FAILURE() << "libpng rejects " << path;
    facts = {};
  } else {
    png_init_io(png, file);
    png_read_info(png, info);
    png_facts::ReadChunkFacts(png, info, facts);
    png_facts::ReadPixels(png, info, facts);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return facts;
}

}  // namespace glyphary
