#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "io/io.h"
#include "scripted_dialogs.h"

namespace glyphary::ui {
namespace {

TEST(ErrorDisplay, FailureInAHandlerIsShownOnceAndTheWindowStaysUsable) {
  ScriptedDialogs dialogs;
  QPushButton button("x");
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    if (++clicks == 1) throw Error("ファイル /x を作成できません");
  });
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "ファイル /x を作成できません");
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(dialogs.errors.size(), 1u);
}

// Whatever the system's locale: the test runs under LC_ALL=C too.
TEST(Application, QtsOwnDialogsSpeakJapanese) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "キャンセル");
  // Texts Qt's own Japanese catalogue lacks: the save dialog's type column.
  EXPECT_EQ(
      QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
      "フォルダー");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Computer"), "コンピューター");
  EXPECT_EQ(QLocale().toString(QDate(2026, 12, 8), QLocale::ShortFormat), "2026/12/08");
}

}  // namespace
}  // namespace glyphary::ui
