// The border and shadow options of the commands that render.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"
#include "render/render.h"

namespace glyphary::cli {

// --outline W[,COLOR] --shadow DX,DY[,COLOR[,BLUR]] --no-outline --no-shadow
std::vector<OptionSpec> EffectOptionSpecs();
// Help text lines for those options.
std::string EffectOptionsHelp();

// `effect` (from a settings file, or none) with the options given applied.
CaptionEffect EffectFromArgs(const Args& args, CaptionEffect effect);

}  // namespace glyphary::cli
