// glyphary-cli: the caption core without a window.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "io/io.h"

namespace {

using glyphary::cli::Command;
using glyphary::cli::Commands;

void PrintOverview(std::FILE* out) {
  std::fprintf(out,
               "Usage: glyphary-cli COMMAND [ARGS...]\n"
               "Renders captions and resizes images without the desktop program.\n\n"
               "Commands:\n");
  for (const Command& c : Commands()) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
  std::fprintf(out, "\nRun 'glyphary-cli COMMAND --help' for a command's arguments.\n");
}

const Command* FindCommand(const std::string& name) {
  for (const Command& c : Commands())
    if (name == c.name) return &c;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintOverview(words.empty() ? stderr : stdout);
    return words.empty() ? 2 : 0;
  }
  const Command* command = FindCommand(words[0]);
  if (!command) {
    std::fprintf(stderr, "glyphary-cli: unknown command '%s'\n\n", words[0].c_str());
    PrintOverview(stderr);
    return 2;
  }
  try {
    const glyphary::cli::Args args({words.begin() + 1, words.end()}, command->options);
    if (args.HelpRequested()) {
      std::fputs(command->usage, stdout);
      return 0;
    }
    return command->run(args);
  } catch (const glyphary::cli::UsageError& e) {
    std::fprintf(stderr, "glyphary-cli %s: %s\n\n%s", command->name, e.what(), command->usage);
    return 2;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "glyphary-cli %s: %s\n", command->name, glyphary::OutOfMemoryMessage());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphary-cli %s: %s\n", command->name, e.what());
    return 1;
  }
}
