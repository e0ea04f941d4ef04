// A JPEG file as libjpeg reads it back, for tests that check written files
// with a decoder of their own.
#pragma once

#include <gtest/gtest.h>

#include <csetjmp>
#include <string>
#include <vector>

#include "export/jpeg_error.h"
#include "test_support.h"

namespace glyphary {

struct JpegFacts {
  int width = 0, height = 0;
  int lumaDcStep = 0;  // first luminance quantisation step: 3 at quality 90, 10 at 70
};

// Decodes a whole JPEG with libjpeg; a stream it rejects fails the test.
inline JpegFacts ReadJpeg(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  JpegFacts facts;
  jpeg_decompress_struct cinfo{};
  JpegErrorManager error{};
  cinfo.err = InstallJpegErrorManager(error);
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ADD_FAILURE() << "libjpeg cannot decode " << path;
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  facts.lumaDcStep = cinfo.quant_tbl_ptrs[0]->quantval[0];
  jpeg_start_decompress(&cinfo);
  facts.width = int(cinfo.output_width);
  facts.height = int(cinfo.output_height);
  std::vector<JSAMPLE> row(std::size_t(cinfo.output_width) * cinfo.output_components);
  JSAMPROW rows[] = {row.data()};
  while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return facts;
}

}  // namespace glyphary
