// The batch production dialog: up to ten captions written into a folder.
#pragma once

#include <QDialog>
#include <QLineEdit>

class Tfrm_production : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrm_production(QWidget* parent = nullptr);

  void FormCreate();

  QLineEdit* edt_saveplace = nullptr;
};
