// The default error display: a failure of a handler is shown in "エラー" and
// the window it came from stays usable.
#pragma once

#include <QObject>
#include <QString>

namespace glyphary::ui {

// The message of the exception being handled, as the user reads it. Call
// only in a catch.
QString CurrentExceptionText();
// Shows that message. Call only in a catch.
void ShowCurrentException();
// Shows a message in "エラー" over the active window.
void ShowError(const QString& text);

// A handler as a slot: whatever it throws is shown here, so that no
// exception travels through Qt's signal emission.
template <typename Object>
auto Guarded(Object* object, void (Object::*handler)()) {
  return [object, handler] {
    try {
      (object->*handler)();
    } catch (...) {
      ShowCurrentException();
    }
  };
}

// Connects a signal to a window's handler through Guarded.
template <typename Sender, typename Signal, typename Object>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, Object* object,
                                       void (Object::*handler)()) {
  return QObject::connect(sender, signal, object, Guarded(object, handler));
}

}  // namespace glyphary::ui
