#include "ui/png_options.h"

#include <QCheckBox>

namespace glyphary::ui {

void GreyOutColourKey(const QCheckBox* alpha, QCheckBox* transparent, QCheckBox* colors256) {
  transparent->setEnabled(!alpha->isChecked());
  colors256->setEnabled(!alpha->isChecked());
}

}  // namespace glyphary::ui
