#include "ui/color_swatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "ui/dialogs.h"
#include "ui/focus_mark.h"

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
  setFocusPolicy(Qt::StrongFocus);
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

// As a push button takes them.
void ColorSwatch::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
      modifiers == Qt::NoModifier) {
    if (!event->isAutoRepeat()) emit Clicked();
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  QStyleOption option;
  option.initFrom(this);
  if (!ShowsFocus(option)) return;
  QPainter painter(this);
  constexpr int kInset = 2;  // inside the frame, clear of it
  DrawFocusMark(painter, rect().adjusted(kInset, kInset, -kInset, -kInset));
}

}  // namespace glyphary::ui
