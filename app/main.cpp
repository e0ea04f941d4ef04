// glyphary: the desktop program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QSessionManager>

#include "app/application.h"
#include "app/display_check.h"
#include "app/forms_lifecycle.h"
#include "app/stop_signals.h"
#include "render/render.h"
#include "settings/settings.h"
#include "ui/forms.h"

namespace {

// Our own options; everything else is left to Qt ("-platform", "-style", ...).
struct CommandLine {
  std::optional<std::string> settingsFile;
  bool help = false;
  bool missingSettingsFile = false;
};

CommandLine ReadCommandLine(int argc, char** argv) {
  CommandLine line;
  constexpr std::string_view kSettings = "--settings", kSettingsEquals = "--settings=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      line.help = true;
    } else if (arg == kSettings) {
      if (i + 1 < argc && argv[i + 1][0] != '\0')
        line.settingsFile = argv[++i];
      else
        line.missingSettingsFile = true;
    } else if (arg.starts_with(kSettingsEquals)) {
      line.settingsFile = std::string(arg.substr(kSettingsEquals.size()));
      line.missingSettingsFile = line.settingsFile->empty();
    }
  }
  return line;
}

// The file named on the command line, made absolute so the store at exit and
// its messages name the same file wherever the program was started from.
std::string SettingsFile(const CommandLine& line) {
  if (line.settingsFile) return std::filesystem::absolute(*line.settingsFile).string();
  return glyphary::SettingsPathForExecutable();
}

void PrintHelp(const std::string& settingsFile) {
  std::printf(
      "使い方: glyphary [--settings ファイル]\n"
      "\n"
      "  --settings ファイル  設定の読み込みと保存にこのファイルを使います\n"
      "  --help               この説明を表示して終了します\n"
      "\n"
      "設定ファイル: %s\n"
      "ヘルプ: %s\n",
      settingsFile.c_str(), glyphary::HelpDocumentPath().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = ReadCommandLine(argc, argv);
  if (line.missingSettingsFile) {
    std::fputs("glyphary: --settings にファイル名がありません\n", stderr);
    return 2;
  }
  const std::string settingsFile = SettingsFile(line);
  if (line.help) {
    PrintHelp(settingsFile);
    return 0;
  }
  if (!glyphary::app::DisplayNamed()) {
    glyphary::app::ReportNoDisplay("DISPLAY も WAYLAND_DISPLAY も設定されていません");
    return 1;
  }
  glyphary::app::CatchStopSignals();
  // Our face names must be known before Qt reads the font list.
  glyphary::InitializeFonts();
  auto check = std::make_unique<glyphary::app::DisplayCheck>();
  glyphary::app::Application app(argc, argv);
  check.reset();
  glyphary::app::StopSignalWatcher stopSignals;
  // The session may end the program without asking once this returns.
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [](QSessionManager&) { glyphary::app::StoreSettings(); });
  glyphary::ui::SetSettingsPath(QString::fromStdString(settingsFile));
  glyphary::app::CreateForms();
  const int status = app.exec();
  glyphary::app::DestroyForms();
  return status;
}
