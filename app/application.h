// The application object: the program's title and window font, Japanese
// texts in Qt's own dialogs, and the last resort for a failure in an event
// handler.
#pragma once

#include <QApplication>
#include <QTranslator>

#include "app/qt_texts.h"

namespace glyphary::app {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  // A failure escaping an event handler is shown in a message box; the event
  // loop, and with it the window that raised it, goes on.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Qt's own dialogs (colours, files) speak Japanese like the program.
  QTranslator qtTexts_;
  MissingQtTexts missingQtTexts_;
};

}  // namespace glyphary::app
