#include "ui/form_dialog.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace glyphary::ui {

void FormDialog::ShowInFront() {
  show();
  raise();
  activateWindow();
}

void FormDialog::showEvent(QShowEvent* event) {
  // A spontaneous show is the window coming back from the task bar, not a showing.
  if (!event->spontaneous()) {
    PlaceDialog(this, parentWidget(), !placed_, firstPlace_);
    placed_ = true;
  }
  QDialog::showEvent(event);
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace glyphary::ui
