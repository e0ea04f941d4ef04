#include "cli/style_options.h"

#include <climits>
#include <optional>

#include "cli/effect_options.h"
#include "cli/layout_options.h"
#include "cli/output.h"
#include "settings/settings.h"

namespace glyphary::cli {
namespace {

TColor ColorOption(const Args& args, const std::string& name, TColor fallback) {
  const std::optional<std::string> text = args.Value(name);
  return text ? ColorFromText(*text, name) : fallback;
}

// --NAME turns a flag on, --no-NAME off; neither keeps what the settings gave.
void ApplyFlag(const Args& args, const std::string& name, bool& flag) {
  args.RefuseBothForms(name);
  if (args.Has(name)) flag = true;
  if (args.Has("no-" + name)) flag = false;
}

CaptionStyle StyleFromArgs(const Args& args, CaptionStyle style) {
  if (auto face = args.Value("face")) style.faceName = *face;
  style.pointSize = args.IntValue("size", style.pointSize, INT_MIN, INT_MAX);
  ApplyFlag(args, "bold", style.bold);
  ApplyFlag(args, "italic", style.italic);
  ApplyFlag(args, "underline", style.underline);
  style.textColor = ColorOption(args, "color", style.textColor);
  style.backgroundColor = ColorOption(args, "background", style.backgroundColor);
  return style;
}

// Unlike the program's own file, a file named on the command line must exist:
// a mistyped name should not silently render with the defaults.
void LoadSettingsFile(const std::string& path, CaptionSettings& settings) {
  CheckSettingsFile(path);
  LoadCaptionSettings(path, settings);
}

}  // namespace

TColor ColorFromText(const std::string& text, const std::string& option) {
  if (auto color = ParseColorText(text)) return *color;
  throw UsageError("--" + option + ": '" + text + "' is not a colour");
}

std::vector<OptionSpec> CaptionOptionSpecs() {
  std::vector<OptionSpec> options = {
      {"face", true},       {"size", true},       {"bold", false},         {"italic", false},
      {"underline", false}, {"color", true},      {"background", true},    {"dpi", true},
      {"no-bold", false},   {"no-italic", false}, {"no-underline", false}, {"settings", true}};
  for (OptionSpec& o : EffectOptionSpecs()) options.push_back(std::move(o));
  for (OptionSpec& o : LayoutOptionSpecs()) options.push_back(std::move(o));
  for (OptionSpec& o : OutputOptionSpecs()) options.push_back(std::move(o));
  return options;
}

const std::string& CaptionOptionsHelp() {
  static const std::string help = [] {
    const CaptionSetup defaults;
    const CaptionStyle& style = defaults.style;
    return "  --face NAME       font face (default \"" + style.faceName +
           "\"; see 'glyphary-cli faces')\n"
           "  --size N          size in points (default " +
           std::to_string(style.pointSize) +
           ")\n"
           "  --bold, --italic, --underline\n"
           "  --no-bold, --no-italic, --no-underline\n"
           "                    turn a style off that --settings turned on\n"
           "  --color C         text colour (default " +
           ColorToText(style.textColor) +
           ")\n"
           "  --background C    background colour (default " +
           ColorToText(style.backgroundColor) +
           ")\n"
           "  --dpi N           screen resolution the points refer to (default " +
           std::to_string(defaults.dpi) +
           ")\n"
           "  --settings FILE   take the style and export options from a Glyphary\n"
           "                    settings file (.INI); the options above override it\n" +
           EffectOptionsHelp() + LayoutOptionsHelp() + OutputOptionsHelp() +
           "\nColours: a name such as clRed or clNavy, $00BBGGRR, 0x00BBGGRR, a decimal\n"
           "number or #RRGGBB.\n";
  }();
  return help;
}

CaptionSetup CaptionSetupFromArgs(const Args& args) {
  CaptionSettings settings;
  if (auto path = args.Value("settings")) LoadSettingsFile(*path, settings);
  CaptionSetup setup;
  setup.options = ExportOptionsFromArgs(args, settings.exportOptions);
  setup.style = StyleFromArgs(args, settings.style);
  setup.style.effect = EffectFromArgs(args, setup.style.effect);
  setup.style.layout = LayoutFromArgs(args, setup.style.layout);
  setup.dpi = args.IntValue("dpi", setup.dpi, 1, 4800);
  return setup;
}

}  // namespace glyphary::cli
