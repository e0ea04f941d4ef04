#include "ui/form_dialog.h"

#include <QKeyEvent>

namespace glyphary::ui {

void FormDialog::ShowOver(QWidget* owner) {
  PlaceDialog(this, owner, !placed_, firstPlace_);
  placed_ = true;
  show();
  raise();
  activateWindow();
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace glyphary::ui
