#include <string>

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/style_options.h"
#include "export/export.h"

namespace glyphary::cli {
namespace {

const char* Usage() {
  static const std::string usage =
      "Usage: glyphary-cli render TEXT OUTPUT [options]\n"
      "Renders TEXT as an anti-aliased caption and writes it to OUTPUT as BMP,\n"
      "JPEG or PNG, chosen by OUTPUT's extension.\n\n"
      "Options:\n" +
      CaptionOptionsHelp();
  return usage.c_str();
}

int RunRender(const Args& args) {
  args.ExpectPositional(2);
  const std::string& text = args.Positional()[0];
  const std::string& output = args.Positional()[1];
  const ImageFormat format = FormatForPath(output);
  const CaptionSetup setup = CaptionSetupFromArgs(args);
  FontEngine engine(setup.dpi);
  Bitmap caption;
  RenderCaption(caption, text, setup.style, engine);
  WriteImageFile(caption, output, format, setup.options, setup.style.backgroundColor);
  return 0;
}

}  // namespace

Command RenderCommand() {
  return {"render", "render a caption and save it as BMP, JPEG or PNG", Usage(),
          CaptionOptionSpecs(), RunRender};
}

}  // namespace glyphary::cli
