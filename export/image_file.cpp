#include "export/export.h"

namespace glyphary {

void WriteImageFile(const Bitmap& bitmap, const std::string& path, ImageFormat format,
                    const ExportOptions& options, TColor /*background*/) {
  switch (format) {
    case ImageFormat::Bmp:
      WriteBmpFile(bitmap, path);
      return;
    case ImageFormat::Jpeg:
      WriteJpegFile(bitmap, options.jpegQuality, path);
      return;
    case ImageFormat::Png:
      throw Error("PNG output is not available yet");
  }
}

}  // namespace glyphary
