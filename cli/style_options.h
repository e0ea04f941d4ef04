// The caption options shared by the commands that render: style, resolution,
// a settings file and the output options.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"
#include "export/export.h"

namespace glyphary::cli {

// --face --size --bold --italic --underline (and their --no- forms) --color
// --background --dpi --settings, the border and shadow, then the output options.
std::vector<OptionSpec> CaptionOptionSpecs();
// Help lines for those options, then the colour forms.
const std::string& CaptionOptionsHelp();

struct CaptionSetup {
  CaptionStyle style;
  ExportOptions options;
  int dpi = 96;
};

// A colour as the options take it, every form ParseColorText reads;
// UsageError naming --option otherwise.
TColor ColorFromText(const std::string& text, const std::string& option);

// The settings file named by --settings, if any, with the options given
// overriding it.
CaptionSetup CaptionSetupFromArgs(const Args& args);

}  // namespace glyphary::cli
