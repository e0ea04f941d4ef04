#include "ui/focus_mark.h"

#include <QPainter>
#include <QPen>
#include <QStyleOption>

namespace glyphary::ui {

bool ShowsFocus(const QStyleOption& option) {
  return (option.state & QStyle::State_HasFocus) &&
         (option.state & QStyle::State_KeyboardFocusChange);
}

void DrawFocusMark(QPainter& painter, const QRect& rect) {
  const QRect line = rect.adjusted(0, 0, -1, -1);
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(line);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(line);
  painter.restore();
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  constexpr int kInsideBevel = 3;
  if (element == CE_PushButton && ShowsFocus(*option))
    DrawFocusMark(*painter,
                  option->rect.adjusted(kInsideBevel, kInsideBevel, -kInsideBevel, -kInsideBevel));
}

}  // namespace glyphary::ui
