#include "export/export.h"
#include "export/png_writer.h"

namespace glyphary {

void PngImage::SaveToFile(const std::string& path) const {
  SaveToFile(path, std::chrono::system_clock::now());
}

void PngImage::SaveToFile(const std::string& path,
                          std::chrono::system_clock::time_point now) const {
  AtomicFile file(path);
  PngOutputBuffer out([&file](std::span<const std::uint8_t> bytes) { file.Write(bytes); });
  PngWriter(out, UtcPngTime(now)).Write(image_, transparentColor_, BackgroundColor);
  out.Flush();
  file.Commit();
}

void WritePngFile(const Bitmap& bitmap, const std::string& path, const ExportOptions& options,
                  TColor background, ExportRun run) {
  PngImage png;
  if (options.png256Colors) {
    Bitmap reduced = bitmap;
    ReduceTo256Colors(reduced);
    png.Assign(std::move(reduced));
  } else {
    png.Assign(bitmap);
  }
  if (options.pngTransparent) {
    png.SetTransparent(true);
    png.SetTransparentColor(background);
    if (run == ExportRun::Batch) png.BackgroundColor = kBatchPngBackground;
  }
  png.SaveToFile(path);
}

}  // namespace glyphary
