// The application object: the program's title and window font, and the
// default error display for every event handler.
#pragma once

#include <QApplication>
#include <QTranslator>

namespace glyphary::app {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  // A failure escaping a handler is shown in a message box; the event loop,
  // and with it the window that raised it, goes on.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Qt's own dialogs (colours, files) speak Japanese like the program.
  QTranslator qtTexts_;
};

// Shows the message of the exception being handled, in "エラー".
void ShowCurrentException();

}  // namespace glyphary::app
