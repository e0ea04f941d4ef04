#include "ui/spin_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

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

}  // namespace
}  // namespace glyphary::ui
