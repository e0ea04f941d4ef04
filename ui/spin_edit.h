// The integer spin box of every window: the size box of the main window and
// the JPEG quality boxes of the dialogs.
#pragma once

#include <QAbstractSpinBox>

namespace glyphary::ui {

// Holds its value as text. Typing accepts digits, signs and the decimal
// separator and refuses any other printable character with a beep; the
// buttons and the Up/Down keys step by 1. Text that is not an integer reads
// as the value nearest 0 the bounds allow: 0 when unbounded or when 0 lies
// within them, the lower bound above 0; an integer beyond 32 bits reads as
// the nearest 32-bit value. With bounds, a value set by the program and a
// typed value, once Enter confirms it or the focus moves to another control
// of the same window, are pulled into them, and so is the value shown when
// the window opens again.
class SpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit SpinEdit(QWidget* parent = nullptr);

  // Both 0: no bounds, as in the size box.
  void SetBounds(int minimum, int maximum);
  bool Bounded() const { return minimum_ < maximum_; }

  int Value() const;
  // The value pulled into the bounds, as the box shows it once the focus
  // moves on: for what must never hold a value out of range.
  int ValueInBounds() const { return Clamp(Value()); }
  // Writes the value as decimal text; a change only when the text differs.
  void SetValue(int value);

  void stepBy(int steps) override;
  // The number field itself, for typing into it and clicking it.
  QLineEdit* Field() const { return lineEdit(); }

 signals:
  // The text changed: typing, stepping or a value set by the program.
  void Changed();
  // A mouse click into the number field, not on the buttons.
  void Clicked();

 protected:
  StepEnabled stepEnabled() const override;
  QValidator::State validate(QString& input, int& pos) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Clamp(long long value) const;
  int minimum_ = 0, maximum_ = 0;
};

}  // namespace glyphary::ui
