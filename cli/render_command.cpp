#include <unistd.h>

#include <cerrno>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/style_options.h"
#include "cli/text_input.h"
#include "export/export.h"

namespace glyphary::cli {
namespace {

const char* Usage() {
  static const std::string usage =
      "Usage: glyphary-cli render TEXT OUTPUT [options]\n"
      "       glyphary-cli render --text-file FILE OUTPUT [options]\n"
      "Renders TEXT as an anti-aliased caption and writes it to OUTPUT as BMP,\n"
      "JPEG or PNG, chosen by OUTPUT's extension. OUTPUT '-' writes the image to\n"
      "standard output, as PNG unless --format says otherwise. Line breaks in\n"
      "TEXT start new lines.\n\n"
      "Options:\n"
      "  --text-file FILE  the text from a UTF-8 file ('-': standard input) instead\n"
      "                    of TEXT; the line end that ends the file is left out\n"
      "  --format F      with OUTPUT '-': bmp, png or jpg (default png)\n" +
      CaptionOptionsHelp();
  return usage.c_str();
}

constexpr char kStandardOutput[] = "-";

void WriteToStandardOutput(std::span<const std::uint8_t> bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw Error("標準出力に書き込めません (" + ReasonFor(n < 0 ? errno : EIO) + ")");
    done += std::size_t(n);
  }
}

int RunRender(const Args& args) {
  const std::optional<std::string> textFile = args.Value("text-file");
  args.ExpectPositional(textFile ? 1 : 2);
  const std::string& output = args.Positional().back();
  const bool toStandardOutput = output == kStandardOutput;
  if (!toStandardOutput && args.Has("format"))
    throw UsageError("--format goes with OUTPUT '-'; a file's format is its extension");
  const ImageFormat format =
      toStandardOutput ? FormatOption(args, ImageFormat::Png) : FormatForPath(output);
  const CaptionSetup setup = CaptionSetupFromArgs(args);
  const std::string text = textFile ? CaptionFromFile(*textFile) : args.Positional()[0];
  FontEngine engine(setup.dpi);
  const Bitmap caption = CaptionFor(text, setup.style, format, setup.options, engine);
  if (toStandardOutput)
    WriteToStandardOutput(EncodeImage(caption, format, setup.options, setup.style.backgroundColor));
  else
    WriteImageFile(caption, output, format, setup.options, setup.style.backgroundColor);
  return 0;
}

}  // namespace

Command RenderCommand() {
  std::vector<OptionSpec> options = CaptionOptionSpecs();
  options.push_back({"format", true});
  options.push_back({"text-file", true});
  return {"render", "render a caption and save it as BMP, JPEG or PNG", Usage(), std::move(options),
          RunRender};
}

}  // namespace glyphary::cli
