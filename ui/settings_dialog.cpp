#include "ui/settings_dialog.h"

Tfrm_setting::Tfrm_setting(QWidget* parent) : QDialog(parent) {
  setWindowTitle("設定");
  spnedt_jpeg = new glyphary::ui::SpinEdit(this);
  spnedt_jpeg->setObjectName("spnedt_jpeg");
  spnedt_jpeg->SetBounds(10, 100);
  spnedt_jpeg->SetValue(70);
  cb_transparent = new QCheckBox("背景を透過する", this);
  cb_transparent->setObjectName("cb_transparent");
  cb_256 = new QCheckBox("256色(8bit)", this);
  cb_256->setObjectName("cb_256");
}

void Tfrm_setting::FormCreate() {}

void Tfrm_setting::FormDestroy() {}

glyphary::ExportOptions Tfrm_setting::Options() const {
  return {spnedt_jpeg->Value(), cb_transparent->isChecked(), cb_256->isChecked()};
}
