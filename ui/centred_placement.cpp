#include "ui/centred_placement.h"

#include <QWidget>

#include <algorithm>

namespace glyphary::ui {

void CentreOver(QWidget* window, const QWidget* owner) {
  if (!owner) return;
  const QRect over = owner->frameGeometry();
  const QSize size = window->frameGeometry().size();
  const int left = over.left() + (over.width() - size.width()) / 2;
  const int top = over.top() + (over.height() - size.height()) / 2;
  window->move(std::max(left, 0), std::max(top, 0));
}

}  // namespace glyphary::ui
