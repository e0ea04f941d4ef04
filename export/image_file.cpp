#include <array>

#include "export/encoded_file.h"
#include "export/export.h"
#include "export/png_writer.h"
#include "io/io.h"

namespace glyphary {
namespace {

constexpr std::array<ImageFormatInfo, 3> kImageFormats = {{
    {ImageFormat::Bmp, "BMP -Win32 Bitmap-", ".bmp", nullptr},
    {ImageFormat::Png, "PNG -Portable Network Graphics-", ".png", nullptr},
    {ImageFormat::Jpeg, "JPEG -Jpeg File-", ".jpg", ".jpeg"},
}};

}  // namespace

std::span<const ImageFormatInfo> ImageFormats() {
  return kImageFormats;
}

const char* ExtensionOf(ImageFormat format) {
  for (const ImageFormatInfo& info : kImageFormats)
    if (info.format == format) return info.extension;
  return "";
}

std::optional<ImageFormat> FormatOfExtension(std::string_view extension) {
  for (const ImageFormatInfo& info : kImageFormats)
    if (SameIgnoringAsciiCase(extension, info.extension) ||
        (info.alias && SameIgnoringAsciiCase(extension, info.alias)))
      return info.format;
  return std::nullopt;
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

namespace {

void EncodeImageTo(const Bitmap& bitmap, ImageFormat format, const ExportOptions& options,
                   TColor background, ExportRun run, const ByteSink& sink) {
  switch (format) {
    case ImageFormat::Bmp:
      EncodeBmp(bitmap, sink);
      return;
    case ImageFormat::Jpeg:
      sink(EncodeJpeg(bitmap, options.jpegQuality));
      return;
    case ImageFormat::Png:
      PngWithOptions(bitmap, options, background, run)
          .Encode(sink, std::chrono::system_clock::now());
      return;
  }
}

}  // namespace

void WriteImageFile(const Bitmap& bitmap, const std::string& path, ImageFormat format,
                    const ExportOptions& options, TColor background, ExportRun run) {
  WriteEncoded(path, [&](const ByteSink& sink) {
    EncodeImageTo(bitmap, format, options, background, run, sink);
  });
}

std::vector<std::uint8_t> EncodeImage(const Bitmap& bitmap, ImageFormat format,
                                      const ExportOptions& options, TColor background,
                                      ExportRun run) {
  std::vector<std::uint8_t> bytes;
  EncodeImageTo(bitmap, format, options, background, run,
                [&bytes](std::span<const std::uint8_t> more) {
                  bytes.insert(bytes.end(), more.begin(), more.end());
                });
  return bytes;
}

}  // namespace glyphary
