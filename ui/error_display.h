// The default error display: a failure of a handler is shown in "エラー" and
// the window it came from stays usable.
#pragma once

#include <QObject>

namespace glyphary::ui {

// Shows the message of the exception being handled. Call only in a catch.
void ShowCurrentException();

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
