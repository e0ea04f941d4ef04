#include "ui/production_dialog.h"

#include "ui/forms.h"

Tfrm_production::Tfrm_production(QWidget* parent) : QDialog(parent) {
  setWindowTitle("大量生産");
  edt_saveplace = new QLineEdit(this);
  edt_saveplace->setObjectName("edt_saveplace");
}

void Tfrm_production::FormCreate() {
  edt_saveplace->setText(glyphary::ui::ExecutableFolder());
}
