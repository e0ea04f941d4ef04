// The folder browser: picks the batch run's target folder from a tree.
#pragma once

#include <QDialog>

class Tfrm_browse : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrm_browse(QWidget* parent = nullptr);
};
