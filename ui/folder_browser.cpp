#include "ui/folder_browser.h"

Tfrm_browse::Tfrm_browse(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Browse...");
}
