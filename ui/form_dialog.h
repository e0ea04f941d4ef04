// The base of the program's dialogs: Escape closes none of them; their own
// buttons and the close box do.
#pragma once

#include <QDialog>

namespace glyphary::ui {

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

  // Shows the dialog modeless: centred over `owner` the first time, later
  // where it was left.
  void ShowOver(QWidget* owner);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool placed_ = false;
};

}  // namespace glyphary::ui
