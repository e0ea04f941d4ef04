// The About box: the program's name and version, made fresh for each showing.
#pragma once

#include <QDialog>

class Tfrm_about : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrm_about(QWidget* parent = nullptr);

 public slots:
  void Button1Click();

 protected:
  // Escape is bound to no button; the close box cancels.
  void keyPressEvent(QKeyEvent* event) override;
};
