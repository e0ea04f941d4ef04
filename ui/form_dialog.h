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

  // Shows the dialog modeless, in front.
  void ShowInFront();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Placed against its parent the first time it is shown, later where it was
  // left (unless no screen shows it any more).
  void showEvent(QShowEvent* event) override;
  // Centred over the parent unless the dialog asks otherwise.
  DialogPlace firstPlace_ = DialogPlace::CentredOver;

 private:
  bool placed_ = false;
};

}  // namespace glyphary::ui
