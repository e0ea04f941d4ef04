// Internals of PNG output: buffered chunk output, row conversion and the
// writer that lays out one file.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "export/export.h"

namespace glyphary {

// PNG with the export options: with options.pngAlpha the caption that
// RenderAlphaCaption made, with its alpha; otherwise reduced to 256 colours
// on a copy when options.png256Colors, `background` transparent when
// options.pngTransparent.
PngImage PngWithOptions(const Bitmap& bitmap, const ExportOptions& options, TColor background,
                        ExportRun run = ExportRun::SaveAs);
inline constexpr std::size_t kPngWriteBufferSize = 65536;
inline constexpr std::size_t kPngDirectWriteSize = 65520;
inline constexpr std::size_t kIdatChunkSize = 32768;
inline constexpr char kPngWriteError[] = "Write Image (PNG): Write Error";

// Collects small writes into large blocks for the sink (the file); a block
// of kPngDirectWriteSize bytes or more goes to the sink directly.
class PngOutputBuffer {
 public:
  using Sink = std::function<void(std::span<const std::uint8_t>)>;
  explicit PngOutputBuffer(Sink sink);
  void Write(std::span<const std::uint8_t> bytes);
  void Flush();

 private:
  Sink sink_;
  std::vector<std::uint8_t> buffer_;
};

// Length, type, data and the CRC-32 of type and data. `type` is 4 letters.
void WritePngChunk(PngOutputBuffer& out, std::string_view type, const std::uint8_t* data,
                   std::size_t length);

// How a 24- or 32-bit image's pixels go into the file: red, green, blue, or
// with the fourth byte of a 32-bit image as alpha.
enum class PngPixels { Rgb, Rgba };

// Bytes of one row as sent to the compressor: the filter byte and the pixels.
std::size_t PngRowBytes(const Bitmap& image, PngPixels pixels = PngPixels::Rgb);
// Converts row y (0 = top) to filter byte 0 followed by red, green, blue
// (and alpha) per pixel (palette index for an 8-bit image). `out` holds
// PngRowBytes bytes.
void ConvertPngRow(const Bitmap& image, int y, std::uint8_t* out,
                   PngPixels pixels = PngPixels::Rgb);

struct PngTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
PngTime UtcPngTime(std::chrono::system_clock::time_point when);

// Writes one image: 8 bits with a palette, 24 bits, or 32 bits (written as
// 24, or with its alpha). Colours are TColor values; kColorNone leaves the
// chunk out.
class PngWriter {
 public:
  PngWriter(PngOutputBuffer& out, PngTime time, PngPixels pixels = PngPixels::Rgb)
      : out_(out), time_(time), pixels_(pixels) {}
  // Throws Error for an image that cannot make a valid file, and
  // kPngWriteError when the compressor fails.
  void Write(const Bitmap& image, TColor transparent, TColor background);

 private:
  void WriteHeader(const Bitmap& image);
  void WriteColorChunks(const Bitmap& image, TColor transparent, TColor background);
  void WriteImageData(const Bitmap& image);
  void Chunk(std::string_view type, std::span<const std::uint8_t> data) {
    WritePngChunk(out_, type, data.data(), data.size());
  }

  PngOutputBuffer& out_;
  PngTime time_;
  PngPixels pixels_;
};

}  // namespace glyphary
