#include "ui/color_swatch.h"

#include <QMouseEvent>

#include "ui/dialogs.h"

namespace glyphary::ui {

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return Rgb(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()), std::uint8_t(rgb.blue()));
}

bool ChooseSwatchColor(QWidget* parent, ColorSwatch* swatch, QColor& start) {
  if (!CurrentDialogs().ChooseColor(parent, start)) return false;
  swatch->SetColor(FromQColor(start));
  return true;
}

ColorSwatch::ColorSwatch(QWidget* parent) : QLabel(parent) {
  setAutoFillBackground(true);
  // A thin frame, so that a white swatch does not vanish on a light window.
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  SetColor(kColorBlack);
}

void ColorSwatch::SetColor(TColor color) {
  color_ = color;
  QPalette colors = palette();
  colors.setColor(QPalette::Window, ToQColor(color));
  colors.setColor(QPalette::WindowText, colors.color(QPalette::Dark));
  setPalette(colors);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit Clicked();
}

}  // namespace glyphary::ui
