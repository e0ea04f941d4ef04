// The keyboard focus made visible on any colour, where the platform's style
// shows it faintly or not at all: on the colour swatches, which are labels,
// and on a default push button, which Fusion draws the same with and
// without the focus.
#pragma once

#include <QProxyStyle>

class QPainter;
class QRect;

namespace glyphary::ui {

// Whether the control shows its focus: it has it, and its window has been
// used with the keyboard (as the styles decide for their own marks).
bool ShowsFocus(const QStyleOption& option);

// A dotted black line over a white one along the inside of `rect`.
void DrawFocusMark(QPainter& painter, const QRect& rect);

// The style in force, with the focus mark on every focused push button.
class FocusMarkStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace glyphary::ui
