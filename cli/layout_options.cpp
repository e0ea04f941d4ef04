#include "cli/layout_options.h"

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

}  // namespace

std::vector<OptionSpec> LayoutOptionSpecs() {
  return {{"vertical", false},
          {"no-vertical", false},
          {"align", true},
          {"line-spacing", true},
          {"letter-spacing", true}};
}

const char kLayoutOptionsHelp[] =
    "  --vertical, --no-vertical\n"
    "                    vertical text (縦書き): columns top to bottom, right to left\n"
    "  --align A         start, center or end of the longest line (left, right,\n"
    "                    top and bottom name the same places; default start)\n"
    "  --line-spacing P  distance of the lines, 50 to 300 percent (default 100)\n"
    "  --letter-spacing N\n"
    "                    pixels added after each character, -10 to 50 (default 0)\n";

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
