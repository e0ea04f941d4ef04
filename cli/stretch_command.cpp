#include <unistd.h>

#include <charconv>
#include <string>

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "export/export.h"

namespace glyphary::cli {
namespace {

const char* Usage() {
  static const std::string usage =
      std::string(
          "Usage: glyphary-cli stretch INPUT WIDTH HEIGHT OUTPUT [options]\n"
          "Resizes the BMP image INPUT (8, 24 or 32 bits) to WIDTH x HEIGHT pixels and\n"
          "writes it to OUTPUT as BMP, JPEG or PNG, chosen by OUTPUT's extension.\n"
          "For a transparent PNG the colour of the top-left pixel is the background.\n"
          "On a terminal a progress bar is shown on standard error.\n\n"
          "Options:\n") +
      OutputOptionsHelp();
  return usage.c_str();
}

// A bad size is a wrong value, not a wrong use of the command line.
int ParseSize(const std::string& text, const char* what) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value <= 0)
    throw Error(std::string(what) + " must be a positive whole number, not '" + text + "'");
  return value;
}

int RunStretch(const Args& args) {
  args.ExpectPositional(4);
  const std::vector<std::string>& words = args.Positional();
  const std::string& output = words[3];
  const ImageFormat format = FormatForPath(output);
  const ExportOptions options = ExportOptionsFromArgs(args);
  const int width = ParseSize(words[1], "WIDTH");
  const int height = ParseSize(words[2], "HEIGHT");

  Bitmap bitmap = ReadBmpFile(words[0], BmpPixels::As24Bits);
  ProgressBar bar(stderr);
  StretchBitmap(bitmap, width, height, ::isatty(STDERR_FILENO) ? BindProgress(bar) : nullptr);
  bar.Finish();
  WriteImageFile(bitmap, output, format, options, bitmap.PixelAt(0, 0));
  return 0;
}

}  // namespace

Command StretchCommand() {
  return {"stretch", "resize a BMP image and save it as BMP, JPEG or PNG", Usage(),
          OutputOptionSpecs(), RunStretch};
}

}  // namespace glyphary::cli
