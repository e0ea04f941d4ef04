#include "ui/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>

#include <limits>
#include <optional>

namespace glyphary::ui {
namespace {

bool AllowedCharacter(QChar c) {
  return c.isDigit() || c == '+' || c == '-' || c == QLocale().decimalPoint().front();
}

// Optional sign and decimal digits, fitting in 32 bits.
std::optional<int> ParseInteger(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok || text.trimmed() != text) return std::nullopt;
  return value;
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(UpDownArrows);
  setCorrectionMode(CorrectToPreviousValue);
  setKeyboardTracking(true);
  lineEdit()->setText("0");
  lineEdit()->installEventFilter(this);
  connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::Changed);
}

void SpinEdit::SetBounds(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  if (Bounded()) SetValue(Value());
}

int SpinEdit::Value() const {
  return ParseInteger(text()).value_or(minimum_);
}

int SpinEdit::Clamp(long long value) const {
  if (Bounded()) return int(std::clamp<long long>(value, minimum_, maximum_));
  return int(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                   std::numeric_limits<int>::max()));
}

void SpinEdit::SetValue(int value) {
  const QString text = QString::number(Clamp(value));
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void SpinEdit::stepBy(int steps) {
  SetValue(Clamp(static_cast<long long>(Value()) + steps));
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
  for (QChar c : input)
    if (!AllowedCharacter(c)) return QValidator::Invalid;
  return QValidator::Acceptable;
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.front().isPrint();
  if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
      !AllowedCharacter(typed.front())) {
    QApplication::beep();
    event->accept();
    return;
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
  // Only a move to another control of the same window applies the bounds.
  const QWidget* next = QApplication::focusWidget();
  if (Bounded() && next && next != this && next->window() == window()) SetValue(Value());
  QAbstractSpinBox::focusOutEvent(event);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    emit Clicked();
  return QAbstractSpinBox::eventFilter(watched, event);
}

}  // namespace glyphary::ui
