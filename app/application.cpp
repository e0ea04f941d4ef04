#include "app/application.h"

#include <QFont>
#include <QLibraryInfo>

#include <exception>
#include <new>

#include "export/export.h"
#include "render/render.h"
#include "ui/dialogs.h"

namespace glyphary::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Glyphary");
  setApplicationDisplayName("Glyphary");
  QFont font("ＭＳ Ｐゴシック");
  font.setPixelSize(12);
  setFont(font);
  if (qtTexts_.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&qtTexts_);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return true;
  }
}

void ShowCurrentException() {
  QString text;
  try {
    throw;
  } catch (const std::bad_alloc&) {
    text = OutOfMemoryMessage();
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
    text = "不明なエラーが発生しました";
  }
  ui::CurrentDialogs().Error(QApplication::activeWindow(), text);
}

}  // namespace glyphary::app
