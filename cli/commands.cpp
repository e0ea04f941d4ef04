#include "cli/commands.h"

namespace glyphary::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      StretchCommand(),
      RenderCommand(),
      BatchCommand(),
      FacesCommand(),
  };
  return commands;
}

}  // namespace glyphary::cli
