// The settings dialog: the export options, edited in place.
#pragma once

#include <QCheckBox>
#include <QDialog>

#include "render/render.h"
#include "ui/spin_edit.h"

class Tfrm_setting : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrm_setting(QWidget* parent = nullptr);

  void FormCreate();
  void FormDestroy();

  // The options as the controls show them now.
  glyphary::ExportOptions Options() const;

  glyphary::ui::SpinEdit* spnedt_jpeg = nullptr;
  QCheckBox* cb_transparent = nullptr;
  QCheckBox* cb_256 = nullptr;
};
