// The Python module glyphary: captions as NumPy arrays, the program's own
// writers, and the installed faces.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "export/export.h"
#include "python/arrays.h"
#include "python/data_folder.h"
#include "python/style_keywords.h"
#include "version/version.h"

namespace py = pybind11;

namespace glyphary {
namespace {

[[noreturn]] void Raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw py::error_already_set();
}

// Pango's objects belong to one thread: each Python thread draws with an
// engine and font map of its own, kept for its next caption.
FontEngine& EngineOfThisThread(int dpi) {
  thread_local std::unique_ptr<FontEngine> engine;
  if (!engine || engine->Dpi() != dpi)
    engine = std::make_unique<FontEngine>(dpi, FontEngine::FontMap::OwnForThisThread);
  return *engine;
}

py::array_t<std::uint8_t> Render(const std::string& text, const py::args& args,
                                 const py::kwargs& kwargs) {
  const RenderRequest request = RequestFrom(args, kwargs);
  if (text.find('\0') != std::string::npos) Raise(PyExc_ValueError, "NUL 文字は使えません");
  Bitmap caption;
  try {
    const py::gil_scoped_release release;
    FontEngine& engine = EngineOfThisThread(request.dpi);
    if (request.alpha)
      RenderAlphaCaption(caption, text, request.style, engine);
    else
      RenderCaption(caption, text, request.style, engine);
  } catch (const Error& e) {
    Raise(PyExc_ValueError, e.what());
  } catch (const std::bad_alloc&) {
    Raise(PyExc_MemoryError, OutOfMemoryMessage());
  }
  return ArrayOf(caption);
}

ImageFormat FormatOfPath(const std::filesystem::path& path) {
  if (const auto format = FormatOfExtension(path.extension().string())) return *format;
  Raise(PyExc_ValueError, "保存形式が分かりません: " + path.string() +
                              " (拡張子は .bmp, .jpg, .jpeg, .png のいずれか)");
}

void Save(const py::array& image, const std::filesystem::path& path, int quality, bool transparent,
          bool colors256) {
  const ImageFormat format = FormatOfPath(path);
  if (quality < kMinJpegQuality || quality > kMaxJpegQuality)
    Raise(PyExc_ValueError, "quality は " + std::to_string(kMinJpegQuality) + " から " +
                                std::to_string(kMaxJpegQuality) + " までです (" +
                                std::to_string(quality) + ")");
  Bitmap bitmap;
  try {
    bitmap = BitmapOf(image);
  } catch (const Error& e) {
    Raise(PyExc_ValueError, e.what());
  }
  const bool alpha = bitmap.BitsPerPixel() == 32;
  if (alpha && format != ImageFormat::Png)
    Raise(PyExc_ValueError, "アルファのある画像 (RGBA) は PNG にだけ保存できます");
  const ExportOptions options{quality, transparent, colors256, alpha};
  // A caption's corner is always its background.
  const TColor background = bitmap.PixelAt(0, 0);
  try {
    const py::gil_scoped_release release;
    WriteImageFile(bitmap, path.string(), format, options, background);
  } catch (const Error& e) {
    Raise(PyExc_OSError, e.what());
  } catch (const std::bad_alloc&) {
    Raise(PyExc_MemoryError, OutOfMemoryMessage());
  }
}

constexpr char kModuleDoc[] = R"(Anti-aliased caption images, as glyphary-cli makes them.

render() draws a caption into a NumPy array, save() writes one as BMP, PNG
or JPEG with the program's own writers, faces() lists the font faces.
Errors raise ValueError (a style or image that cannot be used, a caption too
large to make) or OSError (a file that cannot be written), with the
program's Japanese message. render() and save() let other Python threads run
while they work, and each thread draws with a font engine of its own.)";

constexpr char kRenderDoc[] =
    R"(render(text, size=25, face=None, bold=False, italic=False, underline=False,
       color="clBlack", background="clWhite", outline=None, shadow=None,
       alpha=False, dpi=96, vertical=False, align="start", line_spacing=100,
       letter_spacing=0, outer_outline=None, gradient=None) -> numpy.ndarray

The caption of a text, its lines separated by "\n": a (height, width, 3) RGB
array of uint8,
exactly the pixels `glyphary-cli render` writes with the same options; with
alpha=True a (height, width, 4) RGBA array, the text colour with its
smoothing (and any border and shadow) as alpha over full transparency, as
`--alpha` writes it to PNG.

size      the point size (at dpi dots per inch)
face      a face name (see faces()); None or "Default": "ＭＳ Ｐゴシック"
color, background
          a colour name such as "clRed", "$00BBGGRR", "0x00BBGGRR", a decimal
          number (as text or int) or "#RRGGBB"
outline   a border: width or (width[, color]); width 0 to 20 pixels, white
          unless a colour is given
shadow    (dx, dy[, color[, blur]]): moved -20 to 20 pixels each, grey unless
          a colour is given (None keeps grey), blurred over 0 to 10 pixels
vertical  vertical text (縦書き): columns top to bottom, right to left
align     "start", "center" or "end" of the longest line
line_spacing
          distance of the lines in percent, 50 to 300
letter_spacing
          pixels added after each character, -10 to 50
outer_outline
          a second border outside the first: width or (width[, color]),
          black unless a colour is given
gradient  a colour: the text's fill runs from its colour at the top of each
          line to this one at the bottom

The arguments after the text may also be given by position, in this order.)";

constexpr char kSaveDoc[] = R"(save(image, path, quality=70, transparent=False, colors256=False)

Writes an image from render() to path, as BMP, PNG or JPEG by the path's
extension (.bmp, .png, .jpg or .jpeg, any letter case), whole or not at all;
an existing file is replaced. The bytes are those glyphary-cli writes (a PNG
differs only in the time it was written).

quality      JPEG quality, 10 to 100
transparent  PNG: the image's top-left colour (a caption's background)
             marked transparent
colors256    PNG: reduced to the program's 256-colour palette
An RGBA image is written as a PNG with alpha; the two PNG options do not
apply to it.)";

constexpr char kFacesDoc[] = R"(faces(japanese=False) -> list[str]

The font faces a caption can use, as `glyphary-cli faces` lists them:
"Default" and every installed family, sorted ignoring case; with
japanese=True the faces drawn with Japanese glyph forms, in the order the
system reports them.)";

}  // namespace
}  // namespace glyphary

PYBIND11_MODULE(glyphary, m) {
  using namespace glyphary;
  UseDataFolderBesideModule();
  m.doc() = kModuleDoc;
  m.attr("__version__") = kVersion;
  m.def("render", &Render, py::arg("text"), kRenderDoc);
  m.def("save", &Save, py::arg("image"), py::arg("path"), py::arg("quality") = 70,
        py::arg("transparent") = false, py::arg("colors256") = false, kSaveDoc);
  m.def(
      "faces",
      [](bool japanese) {
        return japanese ? FontEngine::ShiftJisFaceList() : FontEngine::FaceList();
      },
      py::arg("japanese") = false, kFacesDoc);
}
