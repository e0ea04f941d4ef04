#include "cli/commands.h"

namespace glyphary::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      StretchCommand(),
  };
  return commands;
}

}  // namespace glyphary::cli
