// Typing as a user does: Latin letters on the keyboard, everything else
// committed by the input method.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

namespace glyphary::ui {

inline void Type(QWidget* box, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClicks(box, QString(c));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(box, &commit);
    }
  }
}

}  // namespace glyphary::ui
