// Where the program's dialogs appear.
#pragma once

class QWidget;

namespace glyphary::ui {

// Centres a window over its owner, pulled back to non-negative screen
// coordinates. A null owner leaves it where it is.
void CenterOver(QWidget* window, const QWidget* owner);

}  // namespace glyphary::ui
