// Public interface of the export core: image file writers and safe file output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "render/render.h"

namespace glyphary {

// Writes a file so that it is either complete or not there at all: the bytes
// go to a temporary file in the target's folder, which replaces the target
// only on Commit(). Destroying an uncommitted AtomicFile removes the
// temporary and leaves any earlier file at the path untouched.
class AtomicFile {
 public:
  // Throws Error "ファイル %s を作成できません" when the temporary cannot be made.
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::span<const std::uint8_t> bytes);
  void Commit();
  const std::string& Path() const noexcept { return path_; }

 private:
  void Fail();
  std::string path_, tempPath_;
  int fd_ = -1;
};

// Writes a whole file atomically from memory.
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Reads a BMP file (8, 24 or 32 bits, bottom-up or top-down) into a bitmap.
Bitmap ReadBmpFile(const std::string& path);

void WriteBmpFile(const Bitmap& bitmap, const std::string& path);
void WriteJpegFile(const Bitmap& bitmap, int quality, const std::string& path);

enum class ImageFormat { Bmp, Png, Jpeg };

// Writes a caption in one of the three formats with the export options:
// JPEG at options.jpegQuality; PNG reduced to 256 colours on a copy when
// options.png256Colors, with `background` as transparent colour when
// options.pngTransparent. The bitmap itself is never changed.
void WriteImageFile(const Bitmap& bitmap, const std::string& path, ImageFormat format,
                    const ExportOptions& options, TColor background);

}  // namespace glyphary
