// The long-lived dialogs open centred over their owner the first time and
// where the user left them on later showings.
#pragma once

class QWidget;

namespace glyphary::ui {

// Moves the top-level `window` so that its centre lies on `owner`'s, pulled
// back to non-negative screen coordinates. A null owner leaves it in place.
void CentreOver(QWidget* window, const QWidget* owner);

}  // namespace glyphary::ui
