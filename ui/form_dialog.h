// The base of the program's dialogs: Escape closes none of them; their own
// buttons and the close box do.
#pragma once

#include <QDialog>

#include <span>

#include "ui/form_builder.h"
#include "ui/spin_edit.h"
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

  // A modeless dialog whose controls change the caption: a window of its own
  // with a close box only, built from its table, first shown beside its
  // parent so that the preview it changes stays in sight.
  void BuildBesideParent(const char* name, const char* title, QSize clientSize,
                         std::span<const Component> components);
  // The named spin box, held within [minimum, maximum].
  SpinEdit* BoundedSpin(const char* name, int minimum, int maximum);

 private:
  bool placed_ = false;
};

}  // namespace glyphary::ui
