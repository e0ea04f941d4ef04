#include "ui/about_box.h"

Tfrm_about::Tfrm_about(QWidget* parent) : QDialog(parent) {
  setWindowTitle("バージョン情報");
}
