#include "ui/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QShowEvent>

#include <algorithm>
#include <limits>
#include <optional>

namespace glyphary::ui {
namespace {

// A Japanese input method in full-width mode types "６０" or "－５": read
// as the ASCII digits and signs they stand for.
QChar Halfwidth(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'０' && u <= u'９') return QChar(char16_t(u - u'０' + u'0'));
  if (u == u'＋') return '+';
  if (u == u'－' || u == u'−') return '-';
  if (u == u'．') return '.';
  return c;
}

QString Halfwidth(QString text) {
  for (QChar& c : text) c = Halfwidth(c);
  return text;
}

bool AllowedCharacter(QChar c) {
  c = Halfwidth(c);
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == QLocale().decimalPoint().front();
}

// Optional sign and decimal digits; a number beyond 32 bits is the nearest
// 32-bit one, so that too large reads as large, never as 0.
std::optional<int> ParseInteger(const QString& typed) {
  static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
  const QString text = Halfwidth(typed);
  if (!integer.match(text).hasMatch()) return std::nullopt;
  using Limits = std::numeric_limits<int>;
  bool fits64 = false;
  const long long value = text.toLongLong(&fits64, 10);
  if (!fits64) return text.startsWith('-') ? Limits::min() : Limits::max();
  return int(std::clamp<long long>(value, Limits::min(), Limits::max()));
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
  return ParseInteger(text()).value_or(Clamp(0));
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

// What is typed is kept in its ASCII form, so the box shows what it reads.
QValidator::State SpinEdit::validate(QString& input, int&) const {
  input = Halfwidth(input);
  for (QChar c : input)
    if (!AllowedCharacter(c)) return QValidator::Invalid;
  return QValidator::Acceptable;
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
  // Enter confirms the value, also where it then closes the window.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && Bounded()) SetValue(Value());
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

// A value left out of range as the window closed (by its close box, say)
// is not shown again: the window opens with what it used.
void SpinEdit::showEvent(QShowEvent* event) {
  if (Bounded() && !event->spontaneous()) SetValue(Value());
  QAbstractSpinBox::showEvent(event);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    emit Clicked();
  return QAbstractSpinBox::eventFilter(watched, event);
}

}  // namespace glyphary::ui
