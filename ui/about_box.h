// The About box: the program's name and version, made fresh for each showing.
#pragma once

#include "ui/form_dialog.h"

class Tfrm_about : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  explicit Tfrm_about(QWidget* parent = nullptr);

 public slots:
  void Button1Click();
};
