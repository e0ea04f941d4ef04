// The commands of glyphary-cli. Each lives in its own file.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"

namespace glyphary::cli {

struct Command {
  const char* name;
  const char* summary;  // one line for the command list
  const char* usage;    // the whole --help text
  std::vector<OptionSpec> options;
  int (*run)(const Args& args);  // exit code; throws UsageError or glyphary::Error
};

// The table of commands, in the order --help lists them.
const std::vector<Command>& Commands();

Command StretchCommand();
Command RenderCommand();
Command FacesCommand();
Command BatchCommand();

}  // namespace glyphary::cli
