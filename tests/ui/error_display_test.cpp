#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include "render/render.h"
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

TEST(Application, QtsOwnDialogsSpeakJapanese) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "キャンセル");
}

}  // namespace
}  // namespace glyphary::ui
