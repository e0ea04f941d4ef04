#include <climits>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/output.h"
#include "export/export.h"
#include "settings/settings.h"

namespace glyphary::cli {
namespace {

const char* Usage() {
  static const std::string usage =
      std::string(
          "Usage: glyphary-cli render TEXT OUTPUT [options]\n"
          "Renders TEXT as an anti-aliased caption and writes it to OUTPUT as BMP,\n"
          "JPEG or PNG, chosen by OUTPUT's extension.\n\n"
          "Options:\n"
          "  --face NAME       font face (default \"ＭＳ Ｐゴシック\"; see 'glyphary-cli faces')\n"
          "  --size N          size in points (default 25)\n"
          "  --bold, --italic, --underline\n"
          "  --color C         text colour (default clBlack)\n"
          "  --background C    background colour (default clWhite)\n"
          "  --dpi N           screen resolution the points refer to (default 96)\n"
          "Colours: a name such as clRed or clNavy, $00BBGGRR, 0x00BBGGRR, a decimal\n"
          "number or #RRGGBB.\n") +
      kOutputOptionsHelp;
  return usage.c_str();
}

std::optional<TColor> ParseHexRgb(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  unsigned value = 0;
  for (char c : text.substr(1)) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + unsigned(digit);
  }
  return Rgb(std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value));
}

TColor ColorOption(const Args& args, const std::string& name, TColor fallback) {
  const std::optional<std::string> text = args.Value(name);
  if (!text) return fallback;
  if (auto rgb = ParseHexRgb(*text)) return *rgb;
  if (auto color = ParseColor(*text)) return *color;
  throw UsageError("--" + name + ": '" + *text + "' is not a colour");
}

CaptionStyle StyleFromArgs(const Args& args) {
  CaptionStyle style;
  if (auto face = args.Value("face")) style.faceName = *face;
  style.pointSize = args.IntValue("size", style.pointSize, INT_MIN, INT_MAX);
  style.bold = args.Has("bold");
  style.italic = args.Has("italic");
  style.underline = args.Has("underline");
  style.textColor = ColorOption(args, "color", style.textColor);
  style.backgroundColor = ColorOption(args, "background", style.backgroundColor);
  return style;
}

int RunRender(const Args& args) {
  args.ExpectPositional(2);
  const std::string& text = args.Positional()[0];
  const std::string& output = args.Positional()[1];
  const ImageFormat format = FormatForPath(output);
  const ExportOptions options = ExportOptionsFromArgs(args);
  const CaptionStyle style = StyleFromArgs(args);
  FontEngine engine(args.IntValue("dpi", 96, 1, 4800));
  Bitmap caption;
  RenderCaption(caption, text, style, engine);
  WriteImageFile(caption, output, format, options, style.backgroundColor);
  return 0;
}

std::vector<OptionSpec> Options() {
  std::vector<OptionSpec> options = {{"face", true},       {"size", true},       {"bold", false},
                                     {"italic", false},    {"underline", false}, {"color", true},
                                     {"background", true}, {"dpi", true}};
  for (OptionSpec& o : OutputOptionSpecs()) options.push_back(std::move(o));
  return options;
}

}  // namespace

Command RenderCommand() {
  return {"render", "render a caption and save it as BMP, JPEG or PNG", Usage(), Options(),
          RunRender};
}

}  // namespace glyphary::cli
