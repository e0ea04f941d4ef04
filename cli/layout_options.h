// The options that set a caption's lines: vertical text, alignment, line and
// letter spacing.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"
#include "render/render.h"

namespace glyphary::cli {

// --vertical --no-vertical --align A --line-spacing PCT --letter-spacing PX
std::vector<OptionSpec> LayoutOptionSpecs();
std::string LayoutOptionsHelp();

// `layout` (from a settings file, or the default) with the options given applied.
CaptionLayout LayoutFromArgs(const Args& args, CaptionLayout layout);

}  // namespace glyphary::cli
