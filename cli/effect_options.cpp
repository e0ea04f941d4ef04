#include "cli/effect_options.h"

#include <optional>

#include "cli/style_options.h"
#include "settings/settings.h"

namespace glyphary::cli {
namespace {

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (const char c : text) {
    if (c == ',')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

void ExpectFields(const std::vector<std::string>& fields, std::size_t min, std::size_t max,
                  const std::string& option, const char* form) {
  if (fields.size() < min || fields.size() > max)
    throw UsageError("--" + option + " takes " + form);
}

// --outline and --outer-outline: WIDTH[,COLOR] into one border's fields.
void ApplyBorder(const std::string& text, const std::string& option, std::int32_t& width,
                 TColor& colour) {
  const auto fields = Fields(text);
  ExpectFields(fields, 1, 2, option, "WIDTH[,COLOR]");
  width = ParseInt(fields[0], "--" + option + " width", 0, kMaxOutlineWidth);
  if (fields.size() > 1) colour = ColorFromText(fields[1], option);
}

void ApplyShadow(const std::string& text, CaptionEffect& effect) {
  const auto fields = Fields(text);
  ExpectFields(fields, 2, 4, "shadow", "DX,DY[,COLOR[,BLUR]]");
  effect.shadowX = ParseInt(fields[0], "--shadow DX", -kMaxShadowOffset, kMaxShadowOffset);
  effect.shadowY = ParseInt(fields[1], "--shadow DY", -kMaxShadowOffset, kMaxShadowOffset);
  if (fields.size() > 2 && !fields[2].empty())
    effect.shadowColor = ColorFromText(fields[2], "shadow");
  if (fields.size() > 3)
    effect.shadowBlur = ParseInt(fields[3], "--shadow BLUR", 0, kMaxShadowBlur);
}

}  // namespace

std::vector<OptionSpec> EffectOptionSpecs() {
  return {{"outline", true},           {"shadow", true},      {"outer-outline", true},
          {"gradient", true},          {"no-outline", false}, {"no-shadow", false},
          {"no-outer-outline", false}, {"no-gradient", false}};
}

std::string EffectOptionsHelp() {
  const CaptionEffect defaults;
  return "  --outline W[,C]   a border W pixels wide (0 to " + std::to_string(kMaxOutlineWidth) +
         ", 0 for none) round the\n"
         "                    text, in colour C (default " +
         ColorToText(defaults.outlineColor) +
         ")\n"
         "  --shadow DX,DY[,C[,BLUR]]\n"
         "                    a shadow moved DX, DY pixels (" +
         std::to_string(-kMaxShadowOffset) + " to " + std::to_string(kMaxShadowOffset) +
         " each), in colour C\n"
         "                    (default " +
         ColorToText(defaults.shadowColor) + "), blurred over BLUR pixels (0 to " +
         std::to_string(kMaxShadowBlur) +
         ")\n"
         "  --outer-outline W[,C]\n"
         "                    a second border W pixels wide (0 to " +
         std::to_string(kMaxOutlineWidth) +
         ") outside the first, in\n"
         "                    colour C (default " +
         ColorToText(defaults.outerOutlineColor) +
         ")\n"
         "  --gradient C      fill the text from its colour at the top of each line to\n"
         "                    colour C at the bottom\n"
         "  --no-outline, --no-shadow, --no-outer-outline, --no-gradient\n"
         "                    leave out what --settings gave\n";
}

CaptionEffect EffectFromArgs(const Args& args, CaptionEffect effect) {
  for (const char* name : {"outline", "shadow", "outer-outline", "gradient"})
    args.RefuseBothForms(name);
  if (auto outline = args.Value("outline"))
    ApplyBorder(*outline, "outline", effect.outlineWidth, effect.outlineColor);
  if (auto outer = args.Value("outer-outline"))
    ApplyBorder(*outer, "outer-outline", effect.outerOutlineWidth, effect.outerOutlineColor);
  if (auto shadow = args.Value("shadow")) ApplyShadow(*shadow, effect);
  if (auto colour = args.Value("gradient")) {
    effect.gradient = true;
    effect.gradientColor = ColorFromText(*colour, "gradient");
  }
  if (args.Has("no-outline")) effect.outlineWidth = 0;
  if (args.Has("no-outer-outline")) effect.outerOutlineWidth = 0;
  if (args.Has("no-shadow")) effect.shadowX = effect.shadowY = 0;
  if (args.Has("no-gradient")) effect.gradient = false;
  return effect;
}

}  // namespace glyphary::cli
