#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "cli/style_options.h"
#include "cli/text_input.h"
#include "export/export.h"

namespace glyphary::cli {
namespace {

const char* Usage() {
  static const std::string usage =
      "Usage: glyphary-cli batch LIST --folder DIR [options]\n"
      "Renders one caption per row of LIST with one style and writes each to\n"
      "DIR/NAME plus the format's extension, replacing files that exist.\n\n"
      "LIST is UTF-8 text, one row per line: the caption text, a tab, the file\n"
      "name without extension; '-' reads standard input. Blank lines are skipped;\n"
      "a line with only one of the two is an error, as are repeated names and\n"
      "names with \\ / : ? < > |. Nothing is written unless every row passes.\n"
      "A failing write stops the run; the files written before it stay.\n\n"
      "Options:\n"
      "  --folder DIR      the folder the files go to (required)\n"
      "  --escapes         in the captions, \\n starts a new line and \\\\ is a backslash\n"
      "  --format F        bmp, png or jpg (default jpg)\n"
      "  --jobs N          rows made at once, by N worker processes (default: one\n"
      "                    per core); the files are the same whatever N\n" +
      CaptionOptionsHelp();
  return usage.c_str();
}

constexpr int kMaxJobs = 256;

// One job for each core.
int DefaultJobs() {
  return int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMaxJobs)));
}

std::string LineLabel(std::size_t row) {
  return std::to_string(row + 1) + " 行目: ";
}

// With --escapes: \n a line break, \\ a backslash; any other backslash is
// kept as it stands.
std::string Unescaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && (next == 'n' || next == '\\')) {
      out += next == 'n' ? '\n' : '\\';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// One row per line, blank lines included so that a row's index is its line
// number less one. A Windows line end and a byte order mark are dropped.
std::vector<BatchRow> ParseList(std::string list, bool escapes) {
  if (list.starts_with("\xEF\xBB\xBF")) list.erase(0, 3);
  if (list.ends_with('\n')) list.pop_back();
  std::vector<BatchRow> rows;
  if (list.empty()) return rows;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = std::min(list.find('\n', start), list.size());
    std::string line = list.substr(start, end - start);
    if (line.ends_with('\r')) line.pop_back();
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos)
      rows.push_back({std::move(line), ""});
    else
      rows.push_back({line.substr(0, tab), line.substr(tab + 1)});
    if (escapes) rows.back().text = Unescaped(rows.back().text);
    start = end + 1;
  }
  return rows;
}

std::string ProblemMessage(std::span<const BatchRow> rows, const BatchProblem& problem) {
  if (!problem.row) return std::string("--folder: ") + BatchFaultMessage(problem.fault);
  const std::size_t row = *problem.row;
  std::string message = LineLabel(row) + BatchFaultMessage(problem.fault);
  if (problem.fault == BatchFault::DuplicateName) {
    const auto first = std::find_if(rows.begin(), rows.end(),
                                    [&](const BatchRow& r) { return r.name == rows[row].name; });
    message += " (" + std::to_string(first - rows.begin() + 1) + " 行目と同じ)";
  }
  return message;
}

int RunBatch(const Args& args) {
  args.ExpectPositional(1);
  const std::optional<std::string> folder = args.Value("folder");
  // An empty folder would put the files at the root of the file system.
  if (!folder || folder->empty()) throw UsageError("--folder DIR is required");
  const ImageFormat format = FormatOption(args, ImageFormat::Jpeg);
  const CaptionSetup setup = CaptionSetupFromArgs(args);
  const int jobs = args.IntValue("jobs", DefaultJobs(), 1, kMaxJobs);
  const std::vector<BatchRow> rows =
      ParseList(ReadTextInput(args.Positional()[0]), args.Has("escapes"));

  const BatchJob job{*folder, format, setup.options, setup.style, jobs};
  ProgressBar bar(stderr);
  const bool showProgress = ::isatty(STDERR_FILENO);
  try {
    // No font is used here before the workers are forked, each of which
    // makes its own.
    ProduceBatchInProcesses(rows, job, setup.dpi, [&](std::size_t done, std::size_t total) {
      if (showProgress) bar.Show(int(done * 100 / total));
    });
  } catch (const BatchCheckError& e) {
    throw Error(ProblemMessage(rows, e.Problem()));
  } catch (const BatchRowError& e) {
    throw Error(LineLabel(e.Row()) + e.what());
  }
  bar.Finish();
  return 0;
}

}  // namespace

Command BatchCommand() {
  std::vector<OptionSpec> options = {
      {"folder", true}, {"format", true}, {"jobs", true}, {"escapes", false}};
  for (OptionSpec& o : CaptionOptionSpecs()) options.push_back(std::move(o));
  return {"batch", "render one caption per row of a list into a folder", Usage(),
          std::move(options), RunBatch};
}

}  // namespace glyphary::cli
