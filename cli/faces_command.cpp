#include <cstdio>

#include "cli/commands.h"
#include "render/render.h"

namespace glyphary::cli {
namespace {

constexpr char kUsage[] =
    "Usage: glyphary-cli faces [--japanese]\n"
    "Lists the font faces a caption can use, one a line, sorted ignoring case.\n"
    "With --japanese, lists the faces drawn with Japanese glyph forms instead,\n"
    "in the order the system reports them.\n";

int RunFaces(const Args& args) {
  args.ExpectPositional(0);
  const auto& faces =
      args.Has("japanese") ? FontEngine::ShiftJisFaceList() : FontEngine::FaceList();
  for (const std::string& face : faces) std::printf("%s\n", face.c_str());
  return 0;
}

}  // namespace

Command FacesCommand() {
  return {"faces", "list the installed font faces", kUsage, {{"japanese", false}}, RunFaces};
}

}  // namespace glyphary::cli
