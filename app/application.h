// The application object: the program's title and window font, and the
// default error display for every event handler.
#pragma once

#include <QApplication>

namespace glyphary::app {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  // A failure escaping a handler is shown in a message box; the event loop,
  // and with it the window that raised it, goes on.
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the message of the exception being handled, in "エラー".
void ShowCurrentException();

}  // namespace glyphary::app
