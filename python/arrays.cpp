#include "python/arrays.h"

#include <climits>

namespace py = pybind11;

namespace glyphary {

py::array_t<std::uint8_t> ArrayOf(const Bitmap& caption) {
  const int channels = caption.BitsPerPixel() == 32 ? 4 : 3;
  const py::ssize_t height = caption.Height(), width = caption.Width();
  py::array_t<std::uint8_t> image({height, width, py::ssize_t(channels)});
  std::uint8_t* out = image.mutable_data();
  for (int y = 0; y < caption.Height(); ++y) {
    const std::uint8_t* in = caption.Row(y);
    for (int x = 0; x < caption.Width(); ++x, in += channels, out += channels) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      if (channels == 4) out[3] = in[3];
    }
  }
  return image;
}

Bitmap BitmapOf(const py::array& image) {
  const bool uint8 = image.dtype().is(py::dtype::of<std::uint8_t>());
  if (!uint8 || image.ndim() != 3 || (image.shape(2) != 3 && image.shape(2) != 4) ||
      image.shape(0) < 1 || image.shape(1) < 1 || image.shape(0) > INT_MAX ||
      image.shape(1) > INT_MAX)
    throw py::value_error(
        "画像は (高さ, 幅, 3) の RGB か (高さ, 幅, 4) の RGBA で、uint8 の配列にしてください");
  const auto pixels = image.unchecked<std::uint8_t, 3>();
  const int channels = int(image.shape(2));
  Bitmap bitmap =
      Bitmap::Uninitialised(int(image.shape(1)), int(image.shape(0)), channels == 4 ? 32 : 24);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* out = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, out += channels) {
      out[0] = pixels(y, x, 2);
      out[1] = pixels(y, x, 1);
      out[2] = pixels(y, x, 0);
      if (channels == 4) out[3] = pixels(y, x, 3);
    }
  }
  return bitmap;
}

}  // namespace glyphary
