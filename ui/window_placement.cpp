#include "ui/window_placement.h"

#include <QWidget>

#include <algorithm>

namespace glyphary::ui {

void CenterOver(QWidget* window, const QWidget* owner) {
  if (!owner) return;
  const QRect frame = window->frameGeometry();
  QRect placed(QPoint(), frame.size());
  placed.moveCenter(owner->frameGeometry().center());
  window->move(std::max(placed.left(), 0), std::max(placed.top(), 0));
}

}  // namespace glyphary::ui
