#include "app/display_check.h"

#include <unistd.h>

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace glyphary::app {
namespace {

// Standard error while the application object is made, and the file that
// takes its place meanwhile.
int savedStderr = -1;
std::FILE* held = nullptr;

// The display the program was pointed at, as the user set it.
std::string DisplayDescription() {
  std::string description;
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    if (!description.empty()) description += ", ";
    description += std::string(name) + "=" + value;
  }
  return description;
}

void RestoreStderr() {
  if (savedStderr < 0) return;
  std::fflush(stderr);
  ::dup2(savedStderr, STDERR_FILENO);
  ::close(savedStderr);
  savedStderr = -1;
}

void OnQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    RestoreStderr();
    ReportNoDisplay(DisplayDescription().c_str());
    std::_Exit(1);
  }
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

void ReportNoDisplay(const char* why) {
  std::fprintf(stderr, "glyphary: 画面に接続できません (%s)\n", why);
}

bool DisplayNamed() {
  return !DisplayDescription().empty();
}

DisplayCheck::DisplayCheck() {
  held = std::tmpfile();
  std::fflush(stderr);
  if (held) {
    savedStderr = ::dup(STDERR_FILENO);
    if (savedStderr >= 0) ::dup2(::fileno(held), STDERR_FILENO);
  }
  qInstallMessageHandler(OnQtMessage);
}

DisplayCheck::~DisplayCheck() {
  qInstallMessageHandler(nullptr);
  RestoreStderr();
  if (!held) return;
  std::rewind(held);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, held)) > 0;)
    std::fwrite(buffer, 1, n, stderr);
  std::fclose(held);
  held = nullptr;
}

}  // namespace glyphary::app
