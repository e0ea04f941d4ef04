#include "export/encoded_file.h"
#include "export/export.h"
#include "export/png_writer.h"

namespace glyphary {

void PngImage::SaveToFile(const std::string& path) const {
  SaveToFile(path, std::chrono::system_clock::now());
}

void PngImage::SaveToFile(const std::string& path,
                          std::chrono::system_clock::time_point now) const {
  WriteEncoded(path, [this, now](const ByteSink& sink) { Encode(sink, now); });
}

void PngImage::Encode(const ByteSink& sink, std::chrono::system_clock::time_point now) const {
  PngOutputBuffer out(sink);
  const PngPixels pixels = alpha_ ? PngPixels::Rgba : PngPixels::Rgb;
  PngWriter(out, UtcPngTime(now), pixels).Write(image_, transparentColor_, BackgroundColor);
  out.Flush();
}

PngImage PngWithOptions(const Bitmap& bitmap, const ExportOptions& options, TColor background,
                        ExportRun run) {
  PngImage png;
  if (options.pngAlpha) {
    png.Assign(bitmap);
    png.SetAlphaChannel(true);
    return png;
  }
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
  return png;
}

void WritePngFile(const Bitmap& bitmap, const std::string& path, const ExportOptions& options,
                  TColor background, ExportRun run) {
  PngWithOptions(bitmap, options, background, run).SaveToFile(path);
}

}  // namespace glyphary
