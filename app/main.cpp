// glyphary: the desktop program.
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/forms_lifecycle.h"
#include "render/render.h"
#include "settings/settings.h"
#include "ui/forms.h"

namespace {

// Qt aborts when it finds no display; say so plainly instead.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fputs("glyphary: 画面に接続できません (DISPLAY も WAYLAND_DISPLAY も設定されていません)\n",
               stderr);
    return 1;
  }
  // Our face names must be known before Qt reads the font list.
  glyphary::InitializeFonts();
  glyphary::app::Application app(argc, argv);
  glyphary::ui::SetSettingsPath(QString::fromStdString(glyphary::SettingsPathForExecutable()));
  glyphary::app::CreateForms();
  const int status = app.exec();
  glyphary::app::DestroyForms();
  return status;
}
