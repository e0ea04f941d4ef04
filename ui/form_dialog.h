// The base of the program's dialogs: Escape closes none of them; their own
// buttons and the close box do.
#pragma once

#include <QDialog>

namespace glyphary::ui {

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace glyphary::ui
