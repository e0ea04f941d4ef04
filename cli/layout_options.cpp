#include "cli/layout_options.h"

#include <string>
#include <string_view>

namespace glyphary::cli {
namespace {

struct AlignName {
  std::string_view name;
  TextAlign align;
};

// The sides of horizontal and of vertical text name the same three places.
constexpr AlignName kAlignNames[] = {
    {"start", TextAlign::Start},   {"left", TextAlign::Start},    {"top", TextAlign::Start},
    {"center", TextAlign::Center}, {"centre", TextAlign::Center}, {"end", TextAlign::End},
    {"right", TextAlign::End},     {"bottom", TextAlign::End},
};

TextAlign AlignFromText(const std::string& text) {
  for (const AlignName& a : kAlignNames)
    if (a.name == text) return a.align;
  throw UsageError("--align takes start, center or end (or left, right, top, bottom), not '" +
                   text + "'");
}

// The name the help gives: the first of each place's names.
std::string_view NameOf(TextAlign align) {
  for (const AlignName& a : kAlignNames)
    if (a.align == align) return a.name;
  return {};
}

}  // namespace

std::vector<OptionSpec> LayoutOptionSpecs() {
  return {{"vertical", false},
          {"no-vertical", false},
          {"align", true},
          {"line-spacing", true},
          {"letter-spacing", true}};
}

std::string LayoutOptionsHelp() {
  const CaptionLayout defaults;
  const auto range = [](int low, int high, int value) {
    return std::to_string(low) + " to " + std::to_string(high) + " (default " +
           std::to_string(value) + ")";
  };
  return std::string(
             "  --vertical, --no-vertical\n"
             "                    vertical text (縦書き): columns top to bottom, right to left\n"
             "  --align A         start, center or end of the longest line (left, right,\n"
             "                    top and bottom name the same places; default ") +
         std::string(NameOf(defaults.align)) +
         ")\n"
         "  --line-spacing P  distance of the lines in percent, " +
         range(kMinLineSpacing, kMaxLineSpacing, defaults.lineSpacing) +
         "\n"
         "  --letter-spacing N\n"
         "                    pixels added after each character, " +
         range(kMinLetterSpacing, kMaxLetterSpacing, defaults.letterSpacing) + "\n";
}

CaptionLayout LayoutFromArgs(const Args& args, CaptionLayout layout) {
  args.RefuseBothForms("vertical");
  if (args.Has("vertical")) layout.vertical = true;
  if (args.Has("no-vertical")) layout.vertical = false;
  if (auto align = args.Value("align")) layout.align = AlignFromText(*align);
  if (auto spacing = args.Value("line-spacing"))
    layout.lineSpacing = ParseInt(*spacing, "--line-spacing", kMinLineSpacing, kMaxLineSpacing);
  if (auto spacing = args.Value("letter-spacing"))
    layout.letterSpacing =
        ParseInt(*spacing, "--letter-spacing", kMinLetterSpacing, kMaxLetterSpacing);
  return layout;
}

}  // namespace glyphary::cli
