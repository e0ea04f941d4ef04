// Public interface of the export core: the export options, the image file
// writers and the batch run.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/image.h"
#include "io/io.h"
#include "render/render.h"

namespace glyphary {

// ---------------------------------------------------------------- export options

// How a caption is written: JPEG quality, and the PNG options.
struct ExportOptions {
  int jpegQuality = 70;  // 10..100
  bool pngTransparent = false;
  bool png256Colors = false;
  // PNG with an alpha channel: the ink's coverage as alpha over a fully
  // transparent background; the two options above do not apply then.
  bool pngAlpha = false;
};

inline constexpr int kMinJpegQuality = 10, kMaxJpegQuality = 100;

constexpr int ClampJpegQuality(int quality) {
  return quality < kMinJpegQuality   ? kMinJpegQuality
         : quality > kMaxJpegQuality ? kMaxJpegQuality
                                     : quality;
}

// Changing the transparent flag sets the 256-colour flag to the same value;
// the 256-colour flag alone can be changed afterwards.
constexpr void SetPngTransparent(ExportOptions& options, bool transparent) {
  if (options.pngTransparent == transparent) return;
  options.pngTransparent = transparent;
  options.png256Colors = transparent;
}

// Reads a BMP file (8, 24 or 32 bits, bottom-up or top-down) into a bitmap,
// as stored or converted to 24 bits row by row (the form the resampler takes,
// without a second full-size image). Only regular files are read, and the
// header is checked against the size limits before any pixel is.
enum class BmpPixels { AsStored, As24Bits };
Bitmap ReadBmpFile(const std::string& path, BmpPixels pixels = BmpPixels::AsStored);
// The same from memory; name stands for the path in messages.
Bitmap DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name,
                 BmpPixels pixels = BmpPixels::AsStored);

// Where an encoder puts a file's bytes, in order: a file, or memory.
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

void WriteBmpFile(const Bitmap& bitmap, const std::string& path);
void EncodeBmp(const Bitmap& bitmap, const ByteSink& sink);
void WriteJpegFile(const Bitmap& bitmap, int quality, const std::string& path);
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality);

// ---------------------------------------------------------------- PNG

// Converts a bitmap in place to 8 bits per pixel with our fixed 256-colour
// palette, each pixel taking the entry NearestPaletteIndex picks for it.
void ReduceTo256Colors(Bitmap& bitmap);

// The entry nearest to a colour by the sum of the absolute differences of
// red, green and blue; the lowest index wins a tie. Only the first 256
// entries count; -1 for an empty palette.
int NearestPaletteIndex(std::span<const PaletteEntry> palette, TColor color);

// A PNG file in the making: a copy of a bitmap (8 bits with palette, 24 or
// 32 bits; 32 is written as 24) and the colours of its optional
// transparency and background chunks. kColorNone means no chunk.
class PngImage {
 public:
  void Assign(const Bitmap& bitmap) { image_ = bitmap; }
  void Assign(Bitmap&& bitmap) { image_ = std::move(bitmap); }
  const Bitmap& Image() const noexcept { return image_; }

  // Affects display only, never the file.
  void SetTransparent(bool transparent) noexcept { transparent_ = transparent; }
  bool Transparent() const noexcept { return transparent_; }
  void SetTransparentColor(TColor color) noexcept { transparentColor_ = color; }
  TColor TransparentColor() const noexcept { return transparentColor_; }

  TColor BackgroundColor = kColorNone;

  // A 32-bit image's fourth byte written as alpha (colour type 6); the
  // transparent colour does not apply then.
  void SetAlphaChannel(bool alpha) noexcept { alpha_ = alpha; }

  // Writes the file atomically; the time stamp chunk holds `now` in UTC.
  // Throws Error for an empty image or a palette image without palette,
  // and "Write Image (PNG): Write Error" when compression fails.
  void SaveToFile(const std::string& path) const;
  void SaveToFile(const std::string& path, std::chrono::system_clock::time_point now) const;
  // The same bytes to a sink.
  void Encode(const ByteSink& sink, std::chrono::system_clock::time_point now) const;

 private:
  Bitmap image_;
  TColor transparentColor_ = kColorNone;
  bool transparent_ = false;
  bool alpha_ = false;
};

// Save As and the batch run write the same PNG files except that a batch
// file with transparency also names magenta as its background colour.
enum class ExportRun { SaveAs, Batch };
inline constexpr TColor kBatchPngBackground = 0x00FF00FF;

void WritePngFile(const Bitmap& bitmap, const std::string& path, const ExportOptions& options,
                  TColor background, ExportRun run = ExportRun::SaveAs);

enum class ImageFormat { Bmp, Png, Jpeg };

struct ImageFormatInfo {
  ImageFormat format;
  const char* description;  // as the save dialog lists it
  const char* extension;    // the one a written file is given
  const char* alias;        // a further extension that names it, or nullptr
};
// Every format, in the order the save dialog lists them.
std::span<const ImageFormatInfo> ImageFormats();
// The file name extension of a format: ".bmp", ".png", ".jpg".
const char* ExtensionOf(ImageFormat format);
// The format an extension names (".JPEG" too: case does not matter), if any.
std::optional<ImageFormat> FormatOfExtension(std::string_view extension);

// Whether a caption for this format and these options is the alpha one
// (RenderAlphaCaption) rather than the opaque one.
constexpr bool WantsAlphaCaption(ImageFormat format, const ExportOptions& options) {
  return format == ImageFormat::Png && options.pngAlpha;
}
// The caption a file of this format takes, rendered with the style.
Bitmap CaptionFor(const std::string& text, const CaptionStyle& style, ImageFormat format,
                  const ExportOptions& options, FontEngine& engine);

// Writes a caption in one of the three formats with the export options:
// JPEG at options.jpegQuality; PNG as WritePngFile writes it. The bitmap itself
// is never changed.
void WriteImageFile(const Bitmap& bitmap, const std::string& path, ImageFormat format,
                    const ExportOptions& options, TColor background,
                    ExportRun run = ExportRun::SaveAs);
// The bytes of the same file, for the clipboard or standard output.
std::vector<std::uint8_t> EncodeImage(const Bitmap& bitmap, ImageFormat format,
                                      const ExportOptions& options, TColor background,
                                      ExportRun run = ExportRun::SaveAs);

// ---------------------------------------------------------------- batch run

// One row of a batch: a caption text and the file name it is saved under
// (without extension). Both empty: a blank row, skipped; both set: a used
// row; exactly one empty: an incomplete row.
struct BatchRow {
  std::string text, name;
};

enum class BatchFault {
  Incomplete,
  DuplicateName,
  ForbiddenCharacter,
  NulCharacter,
  NoFolder,
  NulInFolder
};

struct BatchProblem {
  BatchFault fault;
  std::optional<std::size_t> row;  // 0-based index of the row; none for the folder
};

// The checks in order: incomplete rows (the first one found), then duplicate
// names (byte for byte, case-sensitive, nothing trimmed), then the characters
// \ / : ? < > | in names (UTF-8 multibyte characters never match), then a NUL
// in a text or name, which would cut the path short; then the folder, which
// must be given (an empty one would write at the root, one of nothing but
// spaces into a folder named by spaces) and hold no NUL.
std::optional<BatchProblem> CheckBatchRows(std::span<const BatchRow> rows, std::string_view folder);

// The message the user sees for a fault.
const char* BatchFaultMessage(BatchFault fault);

// A batch refused by CheckBatchRows before anything was written; the caller
// words the problem its own way (a line number, a message box).
class BatchCheckError : public Error {
 public:
  explicit BatchCheckError(const BatchProblem& problem)
      : Error(BatchFaultMessage(problem.fault)), problem_(problem) {}
  const BatchProblem& Problem() const noexcept { return problem_; }

 private:
  BatchProblem problem_;
};

struct BatchJob {
  std::string folder;  // path = folder + "/" + name + extension, the separator always inserted
  ImageFormat format = ImageFormat::Jpeg;
  ExportOptions options;  // JPEG quality, PNG transparent, 256 colours, alpha
  CaptionStyle style;     // its background is the PNG transparent colour
  // Rows made at once, each on a thread or in a worker process with a font
  // engine of its own.
  int jobs = 1;
};

// A row that could not be made or written, with the message it gave.
class BatchRowError : public Error {
 public:
  BatchRowError(const std::string& message, std::size_t row) : Error(message), row_(row) {}
  std::size_t Row() const noexcept { return row_; }  // 0-based, as in the rows given

 private:
  std::size_t row_;
};

// Renders and writes every used row; existing files are replaced, each
// file whole or not at all. Rows are handed out in row order to job.jobs
// threads, the calling one with `engine` among them, the others each with an
// engine of their own; the files are the same bytes whatever their number.
// `progress(done, total)` follows each written file on the calling thread,
// total being the number of used rows; a progress report that throws ends
// the run with its error, the other threads stopped first. Returns the
// number of files written.
// Rows that fail CheckBatchRows throw BatchCheckError before anything is
// written. A failing row throws BatchRowError for the first such row
// ("ファイル %s を作成できません", ...); the files of the rows before it stay,
// and no further row is begun (with several jobs, rows after it may have been
// written already). A worker's font engine that does not start fails the run
// with its own error, naming no row. Running out of memory throws
// std::bad_alloc.
std::size_t ProduceBatch(
    std::span<const BatchRow> rows, const BatchJob& job, FontEngine& engine,
    const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// The same run in job.jobs worker processes forked from this one, each making
// its own font engine at `dpi`: threads of one process wait on the font
// engine's process-wide locks (Cairo draws glyphs behind one) and stop gaining
// at about two, processes share none. This process only hands out the rows
// and reports progress. It must not have used fonts (Pango runs threads of its
// own, and a fork while one holds a lock would hang the worker) and must run
// no other thread: otherwise it throws Error and forks nothing.
// A worker that dies fails the run at the row it was making. A stop signal
// (SIGINT, SIGTERM, SIGHUP) that is not ignored ends the workers, their files
// left unmade, then takes its usual effect; should the process live on, the
// run throws Error.
std::size_t ProduceBatchInProcesses(
    std::span<const BatchRow> rows, const BatchJob& job, int dpi,
    const std::function<void(std::size_t done, std::size_t total)>& progress = {});

}  // namespace glyphary
