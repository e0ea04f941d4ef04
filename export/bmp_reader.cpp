#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "export/bmp_format.h"
#include "export/export.h"

namespace glyphary {
namespace {

using namespace bmp;

// Larger than any known info header (124 bytes for version 5).
constexpr std::uint32_t kMaxInfoHeaderSize = 4096;

// Where the BMP's bytes come from: reads at given offsets, each all or nothing.
class Input {
 public:
  explicit Input(std::string name) : name_(std::move(name)) {}
  virtual ~Input() = default;
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  std::uint64_t Size() const noexcept { return size_; }
  // The path, or what stands for it in messages.
  const std::string& Path() const noexcept { return name_; }
  virtual void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const = 0;

  [[noreturn]] static void Corrupt(const std::string& path, const std::string& why) {
    throw Error("BMP ファイル " + path + " が壊れています (" + why + ")");
  }

 protected:
  std::uint64_t size_ = 0;

 private:
  std::string name_;
};

class InputFile final : public Input {
 public:
  // Opened without blocking, so that a FIFO is refused rather than waited on.
  explicit InputFile(std::string path) : Input(std::move(path)) {
    fd_ = ::open(Path().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) Fail(errno);
    struct stat st;
    const int err = ::fstat(fd_, &st) != 0 ? errno : 0;
    if (err != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd_);
      if (err != 0) Fail(err);
      throw Error("ファイル " + Path() + " を読み込めません (通常のファイルではありません)");
    }
    size_ = std::uint64_t(st.st_size);
  }
  ~InputFile() override { ::close(fd_); }

  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const override {
    while (count > 0) {
      const ssize_t n = ::pread(fd_, out, count, off_t(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail(errno);
      if (n == 0) Corrupt(Path(), "途中で終わっています");
      out += n;
      offset += std::uint64_t(n);
      count -= std::size_t(n);
    }
  }

 private:
  [[noreturn]] void Fail(int err) const {
    throw Error("ファイル " + Path() + " を読み込めません (" + std::strerror(err) + ")");
  }

  int fd_ = -1;
};

class InputBytes final : public Input {
 public:
  InputBytes(std::span<const std::uint8_t> bytes, std::string name)
      : Input(std::move(name)), bytes_(bytes) {
    size_ = bytes.size();
  }

  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) const override {
    if (offset > size_ || count > size_ - offset) Corrupt(Path(), "途中で終わっています");
    std::memcpy(out, bytes_.data() + offset, count);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

struct Layout {
  int width = 0, height = 0, bpp = 0;
  bool topDown = false;
  std::uint32_t colors = 0;       // colour table entries (8 bits only)
  std::uint64_t tableOffset = 0;  // where the colour table starts
  std::uint64_t pixelOffset = 0;  // bfOffBits
};

[[noreturn]] void Unsupported(const std::string& path, const std::string& what) {
  throw Error("BMP ファイル " + path + " は対応していない形式です (" + what + ")");
}

// Masks in the order red, green, blue of the only bit-field layout we take:
// the same bytes as BI_RGB at 32 bits.
bool StandardMasks(const std::uint8_t* masks) {
  return Get32(masks) == 0x00FF0000 && Get32(masks + 4) == 0x0000FF00 &&
         Get32(masks + 8) == 0x000000FF;
}

[[noreturn]] void NotBmp(const std::string& path) {
  throw Error("ファイル " + path + " は BMP ファイルではありません");
}

// The info header, with room for the three masks that may follow a 40-byte
// header; bytes beyond the end of the file read as zero.
std::vector<std::uint8_t> ReadInfoHeader(const Input& file, std::uint64_t& pixelOffset) {
  const std::string& path = file.Path();
  std::uint8_t fh[kFileHeaderSize + 4] = {};
  const auto got = std::size_t(std::min<std::uint64_t>(sizeof fh, file.Size()));
  file.ReadAt(0, fh, got);
  if (got < 2 || Get16(fh) != kMagic) NotBmp(path);
  if (got < sizeof fh) Input::Corrupt(path, "ヘッダーが途中で終わっています");
  const std::uint32_t infoSize = Get32(fh + kFileHeaderSize);
  if (infoSize < kInfoHeaderSize || infoSize > kMaxInfoHeaderSize)
    Unsupported(path, "情報ヘッダー " + std::to_string(infoSize) + " バイト");
  if (kFileHeaderSize + infoSize > file.Size())
    Input::Corrupt(path, "ヘッダーが途中で終わっています");
  pixelOffset = Get32(fh + 10);
  std::vector<std::uint8_t> info(infoSize + 12, 0);
  file.ReadAt(kFileHeaderSize, info.data(),
              std::size_t(std::min<std::uint64_t>(info.size(), file.Size() - kFileHeaderSize)));
  return info;
}

// Takes BI_RGB, and at 32 bits the standard bit fields; returns the size of
// the masks that follow a 40-byte header.
std::uint64_t MaskBytesAfterHeader(const Input& file, const std::vector<std::uint8_t>& info,
                                   std::uint16_t bpp) {
  const std::uint32_t compression = Get32(&info[16]);
  if (compression == kBiRgb) return 0;
  if (compression != kBiBitfields || bpp != 32)
    Unsupported(file.Path(), "圧縮方式 " + std::to_string(compression));
  const bool masksFollowHeader = info.size() - 12 == kInfoHeaderSize;
  if (masksFollowHeader && kHeadersSize + 12 > file.Size())
    Input::Corrupt(file.Path(), "ヘッダーが途中で終わっています");
  if (!StandardMasks(&info[kInfoHeaderSize])) Unsupported(file.Path(), "ビットフィールド");
  return masksFollowHeader ? 12 : 0;
}

Layout ParseHeaders(const Input& file) {
  const std::string& path = file.Path();
  Layout l;
  const std::vector<std::uint8_t> info = ReadInfoHeader(file, l.pixelOffset);
  const auto infoSize = std::uint32_t(info.size() - 12);
  const auto width = std::int32_t(Get32(&info[4]));
  const auto height = std::int32_t(Get32(&info[8]));
  const std::uint16_t planes = Get16(&info[12]);
  const std::uint16_t bpp = Get16(&info[14]);
  const std::uint32_t clrUsed = Get32(&info[32]);

  if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
    Input::Corrupt(path, "大きさ " + std::to_string(width) + " × " + std::to_string(height));
  if (planes != 1) Input::Corrupt(path, "プレーン数 " + std::to_string(planes));
  if (bpp != 8 && bpp != 24 && bpp != 32) Unsupported(path, std::to_string(bpp) + " ビット");
  l.width = width;
  l.topDown = height < 0;
  l.height = l.topDown ? -height : height;
  l.bpp = bpp;
  l.tableOffset = kFileHeaderSize + infoSize;

  l.tableOffset += MaskBytesAfterHeader(file, info, bpp);
  if (bpp == 8) {
    l.colors = clrUsed == 0 ? 256 : clrUsed;
    if (l.colors > 256) Input::Corrupt(path, "色数 " + std::to_string(clrUsed));
  }
  const std::uint64_t tableEnd = l.tableOffset + std::uint64_t(l.colors) * kPaletteEntrySize;
  if (tableEnd > file.Size()) Input::Corrupt(path, "カラーテーブルが途中で終わっています");
  if (l.pixelOffset < tableEnd || l.pixelOffset > file.Size())
    Input::Corrupt(path, "画素データの位置 " + std::to_string(l.pixelOffset));
  return l;
}

std::vector<PaletteEntry> ReadColorTable(const Input& file, const Layout& l) {
  std::vector<std::uint8_t> raw(std::size_t(l.colors) * kPaletteEntrySize);
  file.ReadAt(l.tableOffset, raw.data(), raw.size());
  std::vector<PaletteEntry> table(l.colors);
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = {raw[4 * i], raw[4 * i + 1], raw[4 * i + 2], 0};
  return table;
}

// Bytes after the last pixel of a row are zero in memory, whatever the file held.
void ClearPadding(Bitmap& bitmap) {
  const std::size_t used = std::size_t(bitmap.Width()) * std::size_t(bitmap.BitsPerPixel() / 8);
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memset(bitmap.Row(y) + used, 0, bitmap.Stride() - used);
}

// Enough rows per read that the calls cost nothing, few enough that the
// buffer is small beside the image.
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;

// Reads the pixel rows a chunk at a time and hands each to place(row, bytes),
// row 0 being the top row.
template <typename Place>
void ForEachRow(const Input& file, const Layout& l, Place place) {
  const std::size_t stride = Bitmap::StrideFor(l.width, l.bpp);
  const int rowsPerChunk = int(std::clamp<std::size_t>(kChunkBytes / stride, 1, l.height));
  std::vector<std::uint8_t> chunk(stride * std::size_t(rowsPerChunk));
  for (int first = 0; first < l.height; first += rowsPerChunk) {
    const int rows = std::min(rowsPerChunk, l.height - first);
    file.ReadAt(l.pixelOffset + std::uint64_t(first) * stride, chunk.data(),
                stride * std::size_t(rows));
    for (int i = 0; i < rows; ++i) {
      const int fileRow = first + i;
      place(l.topDown ? fileRow : l.height - 1 - fileRow, chunk.data() + stride * std::size_t(i));
    }
  }
}

// One row of the file's format as blue, green, red; an index beyond the
// colour table is black, as the bitmap's own conversion makes it.
void RowTo24Bits(const std::uint8_t* in, std::uint8_t* out, int width, int bpp,
                 const std::vector<PaletteEntry>& palette) {
  if (bpp == 24) {
    std::memcpy(out, in, 3 * std::size_t(width));
    return;
  }
  for (int x = 0; x < width; ++x, out += 3) {
    if (bpp == 32) {
      std::memcpy(out, in + 4 * std::size_t(x), 3);
      continue;
    }
    static constexpr PaletteEntry kBlack{0, 0, 0, 0};
    const PaletteEntry& e = in[x] < palette.size() ? palette[in[x]] : kBlack;
    out[0] = e.blue;
    out[1] = e.green;
    out[2] = e.red;
  }
}

Bitmap ReadAsStored(const Input& file, const Layout& l) {
  Bitmap bitmap = Bitmap::Uninitialised(l.width, l.height, l.bpp);
  if (l.bpp == 8) bitmap.SetPalette(ReadColorTable(file, l));
  if (l.topDown) {
    const std::size_t used = std::size_t(l.width) * std::size_t(l.bpp / 8);
    ForEachRow(file, l, [&](int row, const std::uint8_t* bytes) {
      std::memcpy(bitmap.Row(row), bytes, used);
    });
    return bitmap;
  }
  // Bottom-up rows lie in the file as they lie in memory.
  file.ReadAt(l.pixelOffset, bitmap.Bits(), bitmap.ImageSize());
  ClearPadding(bitmap);
  return bitmap;
}

Bitmap ReadAs24Bits(const Input& file, const Layout& l) {
  Bitmap bitmap = Bitmap::Uninitialised(l.width, l.height, 24);
  const std::vector<PaletteEntry> palette =
      l.bpp == 8 ? ReadColorTable(file, l) : std::vector<PaletteEntry>{};
  ForEachRow(file, l, [&](int row, const std::uint8_t* bytes) {
    RowTo24Bits(bytes, bitmap.Row(row), l.width, l.bpp, palette);
  });
  return bitmap;
}

Bitmap Decode(const Input& input, BmpPixels pixels) {
  const Layout l = ParseHeaders(input);
  const std::uint64_t stride = Bitmap::StrideFor(l.width, l.bpp);
  const std::uint64_t available = input.Size() - l.pixelOffset;
  if (stride > available / std::uint64_t(l.height))
    Input::Corrupt(input.Path(), "画素データが途中で終わっています");
  // Each makes its bitmap, and so meets the size limits, before reading a pixel.
  return pixels == BmpPixels::As24Bits ? ReadAs24Bits(input, l) : ReadAsStored(input, l);
}

}  // namespace

Bitmap ReadBmpFile(const std::string& path, BmpPixels pixels) {
  return Decode(InputFile(path), pixels);
}

Bitmap DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name, BmpPixels pixels) {
  return Decode(InputBytes(bytes, name), pixels);
}

}  // namespace glyphary
