// A caption-less label filled with a colour, reporting clicks and, once it
// has the keyboard focus, Space and Enter.
#pragma once

#include <QLabel>

#include "image/image.h"

namespace glyphary::ui {

class ColorSwatch : public QLabel {
  Q_OBJECT

 public:
  explicit ColorSwatch(QWidget* parent = nullptr);

  // The colour as stored: a system colour stays one and is shown resolved.
  TColor Color() const { return color_; }
  void SetColor(TColor color);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor color_ = kColorBlack;
};

// A colour as Qt shows it; system colours are resolved first.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// The colour dialog, opened at `start`: a confirmed colour goes to the swatch
// and to `start`. False when cancelled.
bool ChooseSwatchColor(QWidget* parent, ColorSwatch* swatch, QColor& start);

}  // namespace glyphary::ui
