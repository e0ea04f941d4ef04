#include <algorithm>
#include <csetjmp>
#include <vector>

#include "export/export.h"
#include "export/jpeg_destination.h"
#include "export/jpeg_error.h"

namespace glyphary {
namespace {

// Feeds the rows top to bottom; in memory each next row lies one stride below.
void CompressRows(jpeg_compress_struct& cinfo, const Bitmap& bitmap, int quality) {
  cinfo.image_width = JDIMENSION(bitmap.Width());
  cinfo.image_height = JDIMENSION(bitmap.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;  // the bitmap's byte order, no swapping needed
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_FLOAT;
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(bitmap.Row(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
}

// Compresses a 24-bit bitmap into `stream`; an empty bitmap leaves it empty.
// On a libjpeg error returns false with the library's message number. Only
// trivially destructible objects live in this frame and in the library's
// callbacks, so leaving them by longjmp skips no destructor.
bool Compress(const Bitmap& bitmap, int quality, std::vector<std::uint8_t>& stream,
              int& errorCode) {
  jpeg_compress_struct cinfo{};
  JpegErrorManager error{};
  JpegMemoryDestination destination{};
  cinfo.err = InstallJpegErrorManager(error);
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&cinfo);
    errorCode = error.pub.msg_code;
    return false;
  }
  jpeg_create_compress(&cinfo);
  AttachJpegMemoryDestination(&cinfo, destination, stream);
  if (!bitmap.Empty()) CompressRows(cinfo, bitmap, quality);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality) {
  // libjpeg's own range; the callers keep to 10..100.
  quality = std::clamp(quality, 1, 100);
  std::vector<std::uint8_t> stream;
  int errorCode = 0;
  bool ok;
  if (bitmap.Empty() || bitmap.BitsPerPixel() == 24) {
    ok = Compress(bitmap, quality, stream, errorCode);
  } else {
    Bitmap copy = bitmap;
    copy.SetBitsPerPixel(24);
    ok = Compress(copy, quality, stream, errorCode);
  }
  if (!ok) ThrowJpegError(errorCode);
  return stream;
}

void WriteJpegFile(const Bitmap& bitmap, int quality, const std::string& path) {
  WriteWholeFile(path, EncodeJpeg(bitmap, quality));
}

}  // namespace glyphary
