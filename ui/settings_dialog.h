// The settings dialog: the export options, edited in place.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "export/export.h"
#include "ui/form_dialog.h"
#include "ui/spin_edit.h"

class Tfrm_setting : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  explicit Tfrm_setting(QWidget* parent = nullptr);

  void FormCreate();
  void FormDestroy();

  // The options as the controls show them now.
  glyphary::ExportOptions Options() const;
  // Ticks or clears the transparency box, with the 256-colour box following it.
  void SetTransparent(bool on);

  glyphary::ui::SpinEdit* spnedt_jpeg = nullptr;
  QCheckBox* cb_transparent = nullptr;
  QCheckBox* cb_256 = nullptr;
  QCheckBox* cb_alpha = nullptr;
  QPushButton* Button1 = nullptr;  // "PNGについて"
  QPushButton* Button3 = nullptr;
  QPushButton* Button2 = nullptr;

 public slots:
  void cb_transparentClick();
  void cb_alphaClick();
  void Button1Click();
  void Button3Click();
  void Button2Click();
};
