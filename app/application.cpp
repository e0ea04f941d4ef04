#include "app/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>

#include "render/render.h"
#include "ui/error_display.h"
#include "ui/focus_mark.h"
#include "version/version.h"

namespace glyphary::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: Qt would append it to every window's title.
  setApplicationName("Glyphary");
  // A Wayland desktop matches the window to its menu entry and icon by this.
  setDesktopFileName(kAppId);
  setStyle(new ui::FocusMarkStyle(style()->name()));
  // The windows write in the caption's default face.
  QFont font(QString::fromUtf8(kDefaultFaceName));
  font.setPixelSize(12);
  setFont(font);
  // Dates, numbers and file types in Qt's own dialogs read Japanese whatever
  // the system's locale.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  if (qtTexts_.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&qtTexts_);
  installTranslator(&missingQtTexts_);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ui::ShowCurrentException();
    return true;
  }
}

}  // namespace glyphary::app
