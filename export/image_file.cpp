#include "export/export.h"

namespace glyphary {

void WriteImageFile(const Bitmap& bitmap, const std::string& path, ImageFormat format,
                    const ExportOptions& options, TColor background, ExportRun run) {
  switch (format) {
    case ImageFormat::Bmp:
      WriteBmpFile(bitmap, path);
      return;
    case ImageFormat::Jpeg:
      WriteJpegFile(bitmap, options.jpegQuality, path);
      return;
    case ImageFormat::Png:
      WritePngFile(bitmap, path, options, background, run);
      return;
  }
}

}  // namespace glyphary
