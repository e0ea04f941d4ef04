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

void ApplyOutline(const std::string& text, CaptionEffect& effect) {
  const auto fields = Fields(text);
  ExpectFields(fields, 1, 2, "outline", "WIDTH[,COLOR]");
  effect.outlineWidth = ParseInt(fields[0], "--outline width", 0, kMaxOutlineWidth);
  if (fields.size() > 1) effect.outlineColor = ColorFromText(fields[1], "outline");
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
  return {{"outline", true}, {"shadow", true}, {"no-outline", false}, {"no-shadow", false}};
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
         "  --no-outline, --no-shadow\n"
         "                    leave out a border or shadow that --settings gave\n";
}

CaptionEffect EffectFromArgs(const Args& args, CaptionEffect effect) {
  args.RefuseBothForms("outline");
  args.RefuseBothForms("shadow");
  if (auto outline = args.Value("outline")) ApplyOutline(*outline, effect);
  if (auto shadow = args.Value("shadow")) ApplyShadow(*shadow, effect);
  if (args.Has("no-outline")) effect.outlineWidth = 0;
  if (args.Has("no-shadow")) effect.shadowX = effect.shadowY = 0;
  return effect;
}

}  // namespace glyphary::cli
