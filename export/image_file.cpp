#include <array>

#include "export/export.h"

namespace glyphary {
namespace {

// Indexed by ImageFormat.
constexpr std::array<const char*, 3> kExtensions = {".bmp", ".png", ".jpg"};
static_assert(int(ImageFormat::Bmp) == 0 && int(ImageFormat::Png) == 1 &&
              int(ImageFormat::Jpeg) == 2);

}  // namespace

const char* ExtensionOf(ImageFormat format) {
  return kExtensions[std::size_t(format)];
}

Bitmap CaptionFor(const std::string& text, const CaptionStyle& style, ImageFormat format,
                  const ExportOptions& options, FontEngine& engine) {
  Bitmap caption;
  if (WantsAlphaCaption(format, options))
    RenderAlphaCaption(caption, text, style, engine);
  else
    RenderCaption(caption, text, style, engine);
  return caption;
}

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

std::vector<std::uint8_t> EncodeImage(const Bitmap& bitmap, ImageFormat format,
                                      const ExportOptions& options, TColor background,
                                      ExportRun run) {
  std::vector<std::uint8_t> bytes;
  const ByteSink append = [&bytes](std::span<const std::uint8_t> more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
  };
  switch (format) {
    case ImageFormat::Bmp:
      EncodeBmp(bitmap, append);
      break;
    case ImageFormat::Jpeg:
      bytes = EncodeJpeg(bitmap, options.jpegQuality);
      break;
    case ImageFormat::Png:
      PngWithOptions(bitmap, options, background, run)
          .Encode(append, std::chrono::system_clock::now());
      break;
  }
  return bytes;
}

}  // namespace glyphary
