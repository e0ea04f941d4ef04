#include "image_decoding.h"

#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>

#include <QFile>

#include <memory>
#include <vector>

namespace glyphary::ui {
namespace {

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using File = std::unique_ptr<FILE, FileCloser>;

File OpenForReading(const QString& path) {
  return File(std::fopen(QFile::encodeName(path).constData(), "rb"));
}

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf back;
};

}  // namespace

std::optional<PngFacts> DecodePng(const QString& path) {
  File file = OpenForReading(path);
  if (!file) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::optional<PngFacts> facts;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file.get());
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    PngFacts f;
    f.width = int(png_get_image_width(png, info));
    f.height = int(png_get_image_height(png, info));
    f.colorType = png_get_color_type(png, info);
    f.bitDepth = png_get_bit_depth(png, info);
    f.hasBackground = png_get_valid(png, info, PNG_INFO_bKGD) != 0;
    png_bytep alpha = nullptr;
    int count = 0;
    png_color_16p color = nullptr;
    if (png_get_tRNS(png, info, &alpha, &count, &color) != 0) {
      f.hasTransparency = true;
      if (color) {
        f.transparentRed = color->red;
        f.transparentGreen = color->green;
        f.transparentBlue = color->blue;
      }
    }
    facts = f;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return facts;
}

std::optional<JpegFacts> DecodeJpeg(const QString& path) {
  File file = OpenForReading(path);
  if (!file) return std::nullopt;
  jpeg_decompress_struct cinfo;
  JpegFailure failure;
  cinfo.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = [](j_common_ptr c) {
    std::longjmp(reinterpret_cast<JpegFailure*>(c->err)->back, 1);
  };
  std::optional<JpegFacts> facts;
  jpeg_create_decompress(&cinfo);
  if (setjmp(failure.back) == 0) {
    jpeg_stdio_src(&cinfo, file.get());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    std::vector<JSAMPLE> row(std::size_t(cinfo.output_width) * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW rows[] = {row.data()};
      jpeg_read_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_decompress(&cinfo);
    facts = JpegFacts{int(cinfo.output_width), int(cinfo.output_height), cinfo.output_components};
  }
  jpeg_destroy_decompress(&cinfo);
  return facts;
}

}  // namespace glyphary::ui
