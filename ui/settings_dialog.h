// The settings dialog: the export options, edited in place.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

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
  // Modeless; centred over `owner` the first time, later where it was left.
  void ShowOver(QWidget* owner);

  glyphary::ui::SpinEdit* spnedt_jpeg = nullptr;
  QCheckBox* cb_transparent = nullptr;
  QCheckBox* cb_256 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button2 = nullptr;

 public slots:
  void cb_transparentClick();
  void Button3Click();
  void Button2Click();

 protected:
  // Escape is bound to no button here.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool placed_ = false;
};
