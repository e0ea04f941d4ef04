#include "ui/form_dialog.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace glyphary::ui {

void FormDialog::ShowInFront() {
  show();
  raise();
  activateWindow();
}

void FormDialog::BuildBesideParent(const char* name, const char* title, QSize clientSize,
                                   std::span<const Component> components) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(QString::fromUtf8(title));
  setWindowFlags(Qt::Window | Qt::WindowCloseButtonHint);
  firstPlace_ = DialogPlace::Beside;
  resize(clientSize);
  BuildComponents(this, components);
  ApplyTabOrder(this, components);
}

SpinEdit* FormDialog::BoundedSpin(const char* name, int minimum, int maximum) {
  auto* spin = Child<SpinEdit>(this, name);
  spin->SetBounds(minimum, maximum);
  return spin;
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
