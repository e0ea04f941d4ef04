#include "ui/spin_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <limits>

namespace glyphary::ui {
namespace {

struct QualityBox {
  QWidget window;
  SpinEdit* spin = new SpinEdit(&window);
  QCheckBox* other = new QCheckBox("x", &window);
  QualityBox() {
    spin->SetBounds(10, 100);
    spin->SetValue(70);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    spin->setFocus();
  }
  void Type(const QString& text) {
    spin->Field()->selectAll();
    QTest::keyClicks(spin, text);
  }
};

TEST(SpinEdit, UnboundedBoxTakesAnyIntegerAndReadsOtherTextAsZero) {
  SpinEdit spin;
  spin.SetValue(-3);
  EXPECT_EQ(spin.text(), "-3");
  EXPECT_EQ(spin.Value(), -3);
  spin.Field()->setText("-");
  EXPECT_EQ(spin.Value(), 0);
  spin.Field()->setText("1.5");
  EXPECT_EQ(spin.Value(), 0);
  spin.Field()->setText("");
  EXPECT_EQ(spin.Value(), 0);
}

TEST(SpinEdit, TypingRefusesLettersAndKeepsDigitsSignsAndSeparator) {
  SpinEdit spin;
  spin.show();
  spin.Field()->clear();
  QTest::keyClicks(&spin, "a-1b2.x");
  EXPECT_EQ(spin.text(), "-12.");
}

TEST(SpinEdit, StepsByOneWithKeysWithoutBounds) {
  SpinEdit spin;
  spin.show();
  spin.SetValue(1);
  QTest::keyClick(&spin, Qt::Key_Down);
  QTest::keyClick(&spin, Qt::Key_Down);
  EXPECT_EQ(spin.Value(), -1);
  QTest::keyClick(&spin, Qt::Key_Up);
  EXPECT_EQ(spin.Value(), 0);
}

TEST(SpinEdit, ProgramSetValueCountsAsChangeOnlyWhenTextDiffers) {
  SpinEdit spin;
  spin.SetValue(25);
  QSignalSpy changes(&spin, &SpinEdit::Changed);
  spin.SetValue(25);
  EXPECT_EQ(changes.count(), 0);
  spin.SetValue(26);
  EXPECT_EQ(changes.count(), 1);
}

TEST(SpinEdit, QualityBoxClampsProgramValuesAndReadsNonIntegerAsLowerBound) {
  QualityBox box;
  box.spin->SetValue(5);
  EXPECT_EQ(box.spin->text(), "10");
  box.spin->SetValue(500);
  EXPECT_EQ(box.spin->text(), "100");
  box.spin->Field()->setText("+");
  EXPECT_EQ(box.spin->Value(), 10);
}

TEST(SpinEdit, QualityBoxClampsTypedValueWhenFocusMovesToAnotherControl) {
  QualityBox box;
  box.Type("150");
  EXPECT_EQ(box.spin->Value(), 150) << "read without correction until the focus moves";
  box.other->setFocus();
  EXPECT_EQ(box.spin->text(), "100");
  box.spin->setFocus();
  box.Type("5");
  box.other->setFocus();
  EXPECT_EQ(box.spin->text(), "10");
}

TEST(SpinEdit, ClickIntoTheNumberFieldIsReported) {
  SpinEdit spin;
  spin.resize(57, 21);
  spin.show();
  QSignalSpy clicks(&spin, &SpinEdit::Clicked);
  QTest::mouseClick(spin.Field(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks.count(), 1);
}

// What an input method in full-width mode commits.
void Commit(SpinEdit& spin, const QString& text) {
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(spin.Field(), &commit);
}

TEST(SpinEdit, FullWidthDigitsAndSignsAreReadAndShownAsTheirAsciiForms) {
  SpinEdit size;
  size.show();
  size.Field()->clear();
  Commit(size, "６０");
  EXPECT_EQ(size.text(), "60");
  EXPECT_EQ(size.Value(), 60);
  size.Field()->clear();
  Commit(size, "－１２");
  EXPECT_EQ(size.Value(), -12);
  // Set by a program that did not go through the box's typing.
  size.Field()->setText("＋７");
  EXPECT_EQ(size.Value(), 7);

  QualityBox quality;
  quality.spin->Field()->selectAll();
  Commit(*quality.spin, "９５");
  EXPECT_EQ(quality.spin->Value(), 95);
}

// Only the digits a user means as numbers: other scripts' digits would read as 0.
TEST(SpinEdit, DigitsOfOtherScriptsAreRefused) {
  SpinEdit spin;
  spin.show();
  spin.Field()->clear();
  for (QChar c : QString::fromUtf8("٣1৪2"))
    QTest::sendKeyEvent(QTest::Click, &spin, Qt::Key_unknown, QString(c), Qt::NoModifier);
  EXPECT_EQ(spin.text(), "12");
}

// Too large reads as large, never as 0; the bounds apply only once confirmed.
TEST(SpinEdit, IntegersBeyond32BitsReadAsTheNearest32BitValue) {
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  const std::pair<const char*, int> cases[] = {{"2147483648", kMax},
                                               {"-2147483649", kMin},
                                               {"99999999999999999999999", kMax},
                                               {"－９９９９９９９９９９９", kMin}};
  SpinEdit unbounded;
  QualityBox quality;
  for (auto [text, value] : cases) {
    unbounded.Field()->setText(text);
    quality.spin->Field()->setText(text);
    EXPECT_EQ(unbounded.Value(), value) << text;
    EXPECT_EQ(quality.spin->Value(), value) << text;
  }
}

}  // namespace
}  // namespace glyphary::ui
