#include "python/style_keywords.h"

#include <array>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"

namespace py = pybind11;

namespace glyphary {
namespace {

std::string Repr(py::handle value) {
  return py::repr(value).cast<std::string>();
}

// A Python int (not a bool) within [low, high].
int IntIn(py::handle value, const char* what, int low, int high) {
  if (!py::isinstance<py::int_>(value) || py::isinstance<py::bool_>(value))
    throw py::type_error(std::string(what) + " は整数で指定してください (" + Repr(value) + ")");
  const long long number = value.cast<long long>();
  if (number < low || number > high)
    throw py::value_error(std::string(what) + " は " + std::to_string(low) + " から " +
                          std::to_string(high) + " までです (" + std::to_string(number) + ")");
  return int(number);
}

bool Flag(py::handle value, const char* what) {
  if (!py::isinstance<py::bool_>(value))
    throw py::type_error(std::string(what) + " は True か False で指定してください (" +
                         Repr(value) + ")");
  return value.cast<bool>();
}

// A colour as text in any of the command line's forms, or its number.
TColor Color(py::handle value, const char* what) {
  if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)) {
    const long long number = value.cast<long long>();
    if (number < INT_MIN || number > 0xFFFFFFFFLL)
      throw py::value_error(std::string(what) + ": " + std::to_string(number) +
                            " は色の値になりません");
    return TColor(std::uint32_t(number));
  }
  if (!py::isinstance<py::str>(value))
    throw py::type_error(std::string(what) + " は色の名前か値で指定してください (" + Repr(value) +
                         ")");
  const std::string text = value.cast<std::string>();
  if (const auto color = ParseColorText(text)) return *color;
  throw py::value_error(std::string(what) + ": '" + text +
                        "' は色として読めません (clRed, $00BBGGRR, 0x00BBGGRR, 10 進数, "
                        "#RRGGBB のいずれか)");
}

// None, a sequence of min..max fields, or (where min is 1) one bare value.
std::vector<py::handle> Fields(py::handle value, const char* what, std::size_t min, std::size_t max,
                               const char* form) {
  if (py::isinstance<py::tuple>(value) || py::isinstance<py::list>(value)) {
    const py::sequence sequence = py::reinterpret_borrow<py::sequence>(value);
    if (sequence.size() >= min && sequence.size() <= max) return {sequence.begin(), sequence.end()};
  } else if (min == 1) {
    return {value};
  }
  throw py::type_error(std::string(what) + " は " + form + " で指定してください (" + Repr(value) +
                       ")");
}

// outline and outer_outline: width or (width[, color]) into one border's fields.
void ApplyBorder(py::handle value, const std::string& name, std::int32_t& width, TColor& color) {
  if (value.is_none()) {
    width = 0;
    return;
  }
  const auto fields = Fields(value, name.c_str(), 1, 2, "(幅[, 色])");
  width = IntIn(fields[0], (name + " の幅").c_str(), 0, kMaxOutlineWidth);
  if (fields.size() > 1 && !fields[1].is_none()) color = Color(fields[1], (name + " の色").c_str());
}

void ApplyGradient(py::handle value, RenderRequest& r) {
  r.style.effect.gradient = !value.is_none();
  if (!value.is_none()) r.style.effect.gradientColor = Color(value, "gradient");
}

void ApplyShadow(py::handle value, RenderRequest& r) {
  CaptionEffect& e = r.style.effect;
  if (value.is_none()) {
    e.shadowX = e.shadowY = 0;
    return;
  }
  const auto fields = Fields(value, "shadow", 2, 4, "(横, 縦[, 色[, ぼかし]])");
  e.shadowX = IntIn(fields[0], "shadow の横", -kMaxShadowOffset, kMaxShadowOffset);
  e.shadowY = IntIn(fields[1], "shadow の縦", -kMaxShadowOffset, kMaxShadowOffset);
  if (fields.size() > 2 && !fields[2].is_none()) e.shadowColor = Color(fields[2], "shadow の色");
  if (fields.size() > 3) e.shadowBlur = IntIn(fields[3], "shadow のぼかし", 0, kMaxShadowBlur);
}

void ApplyFace(py::handle value, RenderRequest& r) {
  if (value.is_none()) {
    r.style.faceName = kDefaultFaceName;
    return;
  }
  if (!py::isinstance<py::str>(value))
    throw py::type_error("face は書体名の文字列か None で指定してください (" + Repr(value) + ")");
  r.style.faceName = value.cast<std::string>();
}

void ApplyAlign(py::handle value, RenderRequest& r) {
  static constexpr std::pair<const char*, TextAlign> kNames[] = {
      {"start", TextAlign::Start}, {"center", TextAlign::Center}, {"end", TextAlign::End}};
  if (py::isinstance<py::str>(value))
    for (const auto& [name, align] : kNames)
      if (value.cast<std::string>() == name) {
        r.style.layout.align = align;
        return;
      }
  throw py::value_error("align は \"start\", \"center\", \"end\" のいずれかです (" + Repr(value) +
                        ")");
}

constexpr std::array<StyleKeyword, 17> kKeywords = {{
    {"size", [](py::handle v,
                RenderRequest& r) { r.style.pointSize = IntIn(v, "size", INT_MIN, INT_MAX); }},
    {"face", ApplyFace},
    {"bold", [](py::handle v, RenderRequest& r) { r.style.bold = Flag(v, "bold"); }},
    {"italic", [](py::handle v, RenderRequest& r) { r.style.italic = Flag(v, "italic"); }},
    {"underline", [](py::handle v, RenderRequest& r) { r.style.underline = Flag(v, "underline"); }},
    {"color", [](py::handle v, RenderRequest& r) { r.style.textColor = Color(v, "color"); }},
    {"background",
     [](py::handle v, RenderRequest& r) { r.style.backgroundColor = Color(v, "background"); }},
    {"outline",
     [](py::handle v, RenderRequest& r) {
       ApplyBorder(v, "outline", r.style.effect.outlineWidth, r.style.effect.outlineColor);
     }},
    {"shadow", ApplyShadow},
    {"alpha", [](py::handle v, RenderRequest& r) { r.alpha = Flag(v, "alpha"); }},
    {"dpi", [](py::handle v, RenderRequest& r) { r.dpi = IntIn(v, "dpi", 1, 4800); }},
    {"vertical",
     [](py::handle v, RenderRequest& r) { r.style.layout.vertical = Flag(v, "vertical"); }},
    {"align", ApplyAlign},
    {"line_spacing",
     [](py::handle v, RenderRequest& r) {
       r.style.layout.lineSpacing = IntIn(v, "line_spacing", kMinLineSpacing, kMaxLineSpacing);
     }},
    {"letter_spacing",
     [](py::handle v, RenderRequest& r) {
       r.style.layout.letterSpacing =
           IntIn(v, "letter_spacing", kMinLetterSpacing, kMaxLetterSpacing);
     }},
    {"outer_outline",
     [](py::handle v, RenderRequest& r) {
       ApplyBorder(v, "outer_outline", r.style.effect.outerOutlineWidth,
                   r.style.effect.outerOutlineColor);
     }},
    {"gradient", ApplyGradient},
}};

const StyleKeyword* Find(const std::string& name) {
  for (const StyleKeyword& k : kKeywords)
    if (name == k.name) return &k;
  return nullptr;
}

}  // namespace

std::span<const StyleKeyword> StyleKeywords() {
  return kKeywords;
}

RenderRequest RequestFrom(const py::args& args, const py::kwargs& kwargs) {
  if (args.size() > kKeywords.size())
    throw py::type_error("render() の引数が多すぎます (" + std::to_string(args.size() + 1) +
                         " 個)");
  RenderRequest request;
  for (std::size_t i = 0; i < args.size(); ++i) kKeywords[i].apply(args[i], request);
  for (const auto& [key, value] : kwargs) {
    const std::string name = py::cast<std::string>(key);
    const StyleKeyword* keyword = Find(name);
    if (!keyword) throw py::type_error("render() にはない引数です: " + name);
    if (std::size_t(keyword - kKeywords.data()) < args.size())
      throw py::type_error("render() の引数 " + name + " が二度指定されています");
    keyword->apply(value, request);
  }
  return request;
}

}  // namespace glyphary
