// The base of the program's dialogs: Escape closes none of them; their own
// buttons and the close box do.
#pragma once

#include <QDialog>

#include "ui/window_placement.h"

namespace glyphary::ui {

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

  // Shows the dialog modeless: placed against `owner` the first time, later
  // where it was left.
  void ShowOver(QWidget* owner);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Centred over the owner unless the dialog asks otherwise.
  DialogPlace firstPlace_ = DialogPlace::CentredOver;

 private:
  bool placed_ = false;
};

}  // namespace glyphary::ui
