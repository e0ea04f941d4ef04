// A PNG file as libpng reads it back, for tests that check written files
// with a decoder of their own.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/render.h"

namespace glyphary {

struct PngFacts {
  int width = 0, height = 0;
  bool palette = false, transparency = false;
  TColor background = kColorNone;  // from bKGD
  std::uint8_t cornerAlpha = 255;  // top-left pixel after decoding to RGBA
};

// Reads a PNG through libpng: its size, tRNS, bKGD and the top-left alpha.
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
  } else {
    png_init_io(png, file);
    png_read_info(png, info);
    facts.width = int(png_get_image_width(png, info));
    facts.height = int(png_get_image_height(png, info));
    facts.palette = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
    facts.transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_color_16p bkgd = nullptr;
    if (png_get_bKGD(png, info, &bkgd)) {
      png_colorp palette = nullptr;
      int entries = 0;
      if (facts.palette && png_get_PLTE(png, info, &palette, &entries) && bkgd->index < entries)
        facts.background =
            Rgb(palette[bkgd->index].red, palette[bkgd->index].green, palette[bkgd->index].blue);
      else if (!facts.palette)
        facts.background =
            Rgb(std::uint8_t(bkgd->red), std::uint8_t(bkgd->green), std::uint8_t(bkgd->blue));
    }
    png_set_expand(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    std::vector<png_byte> row(png_get_rowbytes(png, info));
    png_read_row(png, row.data(), nullptr);
    facts.cornerAlpha = row[3];
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return facts;
}

}  // namespace glyphary
