#include "export/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>

namespace glyphary {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
using namespace std::string_view_literals;

// Keyword, separator, text; no trailing zero.
constexpr std::string_view kSoftwareText = "Software\0ZEVPNG ver 3.4"sv;
constexpr std::array<std::uint8_t, 8> kPrivateChunk = {'Z', 'E', 'V', '3', 0, 0, 0, 0};
constexpr std::uint32_t kGamma = 45455;
constexpr int kColorTypeTrueColor = 2, kColorTypePalette = 3, kColorTypeTrueColorAlpha = 6;

void PutU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v >> 24);
  p[1] = std::uint8_t(v >> 16);
  p[2] = std::uint8_t(v >> 8);
  p[3] = std::uint8_t(v);
}

// 00 rr 00 gg 00 bb: a colour as 16-bit samples.
std::array<std::uint8_t, 6> Rgb16(TColor c) {
  return {0, RedOf(c), 0, GreenOf(c), 0, BlueOf(c)};
}

bool IsPaletteImage(const Bitmap& image) {
  return image.BitsPerPixel() == 8;
}

void CheckWritable(const Bitmap& image) {
  if (image.Empty())
    throw Error("大きさが 0 の画像は PNG ファイルに書き出せません (" +
                std::to_string(image.Width()) + " × " + std::to_string(image.Height()) + ")");
  if (!IsPaletteImage(image) || image.Palette().size() >= 256) return;
  if (image.Palette().empty())
    throw Error("パレットのない 256 色画像は PNG ファイルに書き出せません");
  // A pixel beyond the palette would make a file that decoders reject.
  for (int y = 0; y < image.Height(); ++y) {
    const std::uint8_t* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x)
      if (row[x] >= image.Palette().size())
        throw Error("パレットにない色番号 " + std::to_string(row[x]) +
                    " があるため PNG ファイルに書き出せません");
  }
}

// A deflate stream, kept by each thread for its next image: made anew for
// every image it would cost more than a small caption's compression, and
// cost threads their cores' caches.
class Deflater {
 public:
  Deflater() {
    if (deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw Error(kPngWriteError);
  }
  ~Deflater() { deflateEnd(&z_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // This thread's stream, ready for a new image.
  static z_stream& Fresh() {
    thread_local Deflater deflater;
    if (deflateReset(&deflater.z_) != Z_OK) throw Error(kPngWriteError);
    return deflater.z_;
  }

 private:
  z_stream z_{};
};

}  // namespace

std::size_t PngRowBytes(const Bitmap& image, PngPixels pixels) {
  const std::size_t width = std::size_t(image.Width());
  if (IsPaletteImage(image)) return 1 + width;
  return 1 + (pixels == PngPixels::Rgba ? 4 : 3) * width;
}

void ConvertPngRow(const Bitmap& image, int y, std::uint8_t* out, PngPixels pixels) {
  const std::uint8_t* in = image.Row(y);
  const int width = image.Width();
  *out++ = 0;  // filter type None
  if (IsPaletteImage(image)) {
    std::memcpy(out, in, std::size_t(width));
    return;
  }
  const int step = image.BitsPerPixel() / 8;
  if (pixels == PngPixels::Rgba) {
    // A 24-bit image has no alpha of its own: every pixel opaque.
    for (int x = 0; x < width; ++x, in += step, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = step == 4 ? in[3] : 255;
    }
    return;
  }
  for (int x = 0; x < width; ++x, in += step, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

PngTime UtcPngTime(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  gmtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void PngWriter::Write(const Bitmap& image, TColor transparent, TColor background) {
  CheckWritable(image);
  out_.Write(kSignature);
  WriteHeader(image);
  WriteColorChunks(image, transparent, background);
  WriteImageData(image);
  Chunk("IEND", {});
}

void PngWriter::WriteHeader(const Bitmap& image) {
  std::array<std::uint8_t, 13> header{};
  PutU32(&header[0], std::uint32_t(image.Width()));
  PutU32(&header[4], std::uint32_t(image.Height()));
  header[8] = 8;
  header[9] = IsPaletteImage(image)        ? kColorTypePalette
              : pixels_ == PngPixels::Rgba ? kColorTypeTrueColorAlpha
                                           : kColorTypeTrueColor;
  Chunk("IHDR", header);

  const std::array<std::uint8_t, 7> time = {
      std::uint8_t(time_.year >> 8), std::uint8_t(time_.year), std::uint8_t(time_.month),
      std::uint8_t(time_.day),       std::uint8_t(time_.hour), std::uint8_t(time_.minute),
      std::uint8_t(time_.second)};
  Chunk("tIME", time);
  Chunk("tEXt",
        {reinterpret_cast<const std::uint8_t*>(kSoftwareText.data()), kSoftwareText.size()});
  Chunk("tpNG", kPrivateChunk);
  std::array<std::uint8_t, 4> gamma;
  PutU32(gamma.data(), kGamma);
  Chunk("gAMA", gamma);
}

void PngWriter::WriteColorChunks(const Bitmap& image, TColor transparent, TColor background) {
  // A system colour reaches the bitmap resolved; match it the same way.
  transparent = ColorToRGB(transparent);
  background = ColorToRGB(background);
  if (!IsPaletteImage(image)) {
    if (background != kColorNone) Chunk("bKGD", Rgb16(background));
    // An alpha channel says it all; the format has no colour key beside it.
    if (transparent != kColorNone && pixels_ == PngPixels::Rgb) Chunk("tRNS", Rgb16(transparent));
    return;
  }
  const std::span<const PaletteEntry> palette(image.Palette().data(),
                                              std::min<std::size_t>(image.Palette().size(), 256));
  std::vector<std::uint8_t> bytes;
  for (const PaletteEntry& e : palette) bytes.insert(bytes.end(), {e.red, e.green, e.blue});
  Chunk("PLTE", bytes);
  if (background != kColorNone) {
    const std::uint8_t index = std::uint8_t(NearestPaletteIndex(palette, background));
    Chunk("bKGD", {&index, 1});
  }
  if (transparent != kColorNone) {
    // Every entry before the transparent one opaque, that one fully clear.
    bytes.assign(std::size_t(NearestPaletteIndex(palette, transparent)), 255);
    bytes.push_back(0);
    Chunk("tRNS", bytes);
  }
}

void PngWriter::WriteImageData(const Bitmap& image) {
  z_stream& z = Deflater::Fresh();
  std::vector<std::uint8_t> idat(kIdatChunkSize);
  std::vector<std::uint8_t> row(PngRowBytes(image, pixels_));
  z.next_out = idat.data();
  z.avail_out = uInt(idat.size());

  // Runs the compressor until the input is taken (or the stream is ended),
  // passing every full output buffer on as one chunk.
  auto pump = [&](int flush) {
    for (;;) {
      const int status = deflate(&z, flush);
      if (status != Z_OK && status != Z_STREAM_END) throw Error(kPngWriteError);
      if (z.avail_out == 0) {
        Chunk("IDAT", idat);
        z.next_out = idat.data();
        z.avail_out = uInt(idat.size());
      }
      if (flush == Z_FINISH ? status == Z_STREAM_END : z.avail_in == 0) return;
    }
  };
  for (int y = 0; y < image.Height(); ++y) {
    ConvertPngRow(image, y, row.data(), pixels_);
    z.next_in = row.data();
    z.avail_in = uInt(row.size());
    pump(Z_NO_FLUSH);
  }
  pump(Z_FINISH);
  const std::size_t rest = idat.size() - z.avail_out;
  if (rest > 0) Chunk("IDAT", {idat.data(), rest});
}

}  // namespace glyphary
