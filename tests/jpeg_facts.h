// A JPEG file as libjpeg reads it back, for tests that check written files
// with a decoder of their own.
#pragma once

#include <gtest/gtest.h>

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image.h"
#include "test_support.h"

namespace glyphary {

struct JpegFacts {
  int width = 0, height = 0;
  bool baseline = false;             // baseline JFIF, YCbCr, three components
  std::vector<int> quant;            // every entry of every table
  std::vector<std::uint8_t> pixels;  // RGB, top row first

  // First luminance quantisation step: 3 at quality 90, 10 at 70.
  int LumaDcStep() const { return quant.empty() ? 0 : quant[0]; }
  TColor At(int x, int y) const {
    const std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * 3];
    return Rgb(p[0], p[1], p[2]);
  }
};

namespace jpeg_facts {

// The reader's own way out of libjpeg, apart from the program's.
struct ErrorExit {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer is one to the whole
  std::jmp_buf jump;
};

inline jpeg_error_mgr* Install(ErrorExit& exit) {
  jpeg_std_error(&exit.pub);
  exit.pub.error_exit = [](j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorExit*>(cinfo->err)->jump, 1);
  };
  exit.pub.output_message = [](j_common_ptr) {};
  return &exit.pub;
}

inline void ReadInto(jpeg_decompress_struct& cinfo, JpegFacts& out) {
  jpeg_read_header(&cinfo, TRUE);
  out.baseline = !cinfo.progressive_mode && cinfo.saw_JFIF_marker &&
                 cinfo.jpeg_color_space == JCS_YCbCr && cinfo.num_components == 3;
  for (JQUANT_TBL* table : cinfo.quant_tbl_ptrs)
    if (table) out.quant.insert(out.quant.end(), table->quantval, table->quantval + DCTSIZE2);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = int(cinfo.output_width);
  out.height = int(cinfo.output_height);
  out.pixels.resize(std::size_t(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out.pixels[std::size_t(cinfo.output_scanline) * out.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
}

}  // namespace jpeg_facts

// Decodes a whole JPEG with libjpeg; a stream it rejects fails the test.
inline JpegFacts DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
  JpegFacts facts;
  jpeg_decompress_struct cinfo{};
  jpeg_facts::ErrorExit error{};
  cinfo.err = jpeg_facts::Install(error);
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ADD_FAILURE() << "libjpeg could not decode, message " << error.pub.msg_code;
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_facts::ReadInto(cinfo, facts);
  jpeg_destroy_decompress(&cinfo);
  return facts;
}

inline JpegFacts ReadJpeg(const std::string& path) {
  return DecodeJpeg(ReadBytes(path));
}

}  // namespace glyphary
