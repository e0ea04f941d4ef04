// The settings dialog and the About box as the main window shows them.
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "program_fixture.h"
#include "ui/about_box.h"
#include "ui/production_dialog.h"

namespace glyphary::ui {
namespace {

using SettingsDialog = ProgramTest;
using AboutBox = ProgramTest;

// Frame margins are known only once a window is shown, so a centre placed
// before showing can be off by half of them.
bool CentredOver(const QWidget* window, const QWidget* owner) {
  return (window->frameGeometry().center() - owner->frameGeometry().center()).manhattanLength() <=
         6;
}

void ShowSettings() {
  frm_main->findChild<QAction*>("JPEG1")->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_setting));
  QApplication::setActiveWindow(frm_setting);
}

TEST_F(SettingsDialog, QualityIsPulledIntoRangeWhenTheFocusMovesOn) {
  Start();
  ShowSettings();
  SpinEdit* quality = frm_setting->spnedt_jpeg;
  EXPECT_EQ(quality->text(), "70");
  for (auto [typed, shown] : {std::pair{"150", "100"}, std::pair{"5", "10"}}) {
    quality->setFocus();
    quality->Field()->selectAll();
    QTest::keyClicks(quality, typed);
    frm_setting->cb_256->setFocus();
    EXPECT_EQ(quality->text(), shown);
  }
  quality->Field()->setText("-");
  EXPECT_EQ(frm_setting->Options().jpegQuality, 10) << "a non-integer reads as the lower bound";
}

TEST_F(SettingsDialog, TransparencyTicksAndClearsTheColourReduction) {
  Start();
  ShowSettings();
  const QPoint onTheBox(6, 8);
  QTest::mouseClick(frm_setting->cb_256, Qt::LeftButton, {}, onTheBox);
  EXPECT_TRUE(frm_setting->cb_256->isChecked());
  EXPECT_FALSE(frm_setting->cb_transparent->isChecked());
  QTest::mouseClick(frm_setting->cb_256, Qt::LeftButton, {}, onTheBox);
  QTest::mouseClick(frm_setting->cb_transparent, Qt::LeftButton, {}, onTheBox);
  EXPECT_TRUE(frm_setting->cb_256->isChecked());
  QTest::mouseClick(frm_setting->cb_transparent, Qt::LeftButton, {}, onTheBox);
  EXPECT_FALSE(frm_setting->cb_256->isChecked());
}

TEST_F(SettingsDialog, OkAndCancelOnlyHideAndChangesStay) {
  Start();
  ShowSettings();
  frm_setting->spnedt_jpeg->SetValue(90);
  QTest::mouseClick(frm_setting->Button2, Qt::LeftButton);
  EXPECT_FALSE(frm_setting->isVisible());
  EXPECT_EQ(frm_setting->Options().jpegQuality, 90);
  ShowSettings();
  QTest::keyClick(frm_setting, Qt::Key_Escape);
  EXPECT_TRUE(frm_setting->isVisible()) << "Escape is bound to no button";
  QTest::keyClick(frm_setting, Qt::Key_Return);
  EXPECT_FALSE(frm_setting->isVisible()) << "OK is the default button";
  Exit();
  EXPECT_TRUE(ReadIni().contains("Rate=90"));
}

TEST_F(SettingsDialog, CentredOverTheMainWindowFirstThenWhereItWasLeft) {
  Start();
  ShowSettings();
  EXPECT_TRUE(CentredOver(frm_setting, frm_main));
  EXPECT_FALSE(frm_main->isHidden()) << "modeless: the main window stays usable";
  frm_setting->move(30, 40);
  frm_setting->hide();
  QTest::mouseClick(frm_main->findChild<QToolButton*>("ToolButton4"), Qt::LeftButton);
  EXPECT_TRUE(frm_setting->isVisible());
  EXPECT_EQ(frm_setting->pos(), QPoint(30, 40));
}

// Left where a monitor no longer is, the dialog comes back over the main window.
TEST_F(SettingsDialog, ADialogLeftOffEveryScreenIsCentredAgain) {
  Start();
  ShowSettings();
  frm_setting->move(5000, 4000);
  frm_setting->hide();
  ShowSettings();
  EXPECT_TRUE(CentredOver(frm_setting, frm_main));
  frm_main->findChild<QAction*>("N4")->trigger();
  frm_production->move(-3000, 10);
  frm_production->hide();
  frm_main->findChild<QAction*>("N4")->trigger();
  EXPECT_TRUE(CentredOver(frm_production, frm_main));
}

TEST_F(SettingsDialog, PngButtonExplainsTheTwoOptions) {
  Start();
  ShowSettings();
  QTest::mouseClick(frm_setting->Button1, Qt::LeftButton);
  ASSERT_EQ(dialogs.informations.size(), 1u);
  EXPECT_EQ(dialogs.informations[0].first, "PNGについて");
  EXPECT_TRUE(dialogs.informations[0].second.contains("背景を透過する"));
}

TEST_F(SettingsDialog, ShortcutShowsTheBatchDialogFromAnywhereInTheMainWindow) {
  Start();
  QApplication::setActiveWindow(frm_main);
  QTest::keyClick(frm_main->spn_size, Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(frm_production->isVisible());
}

// Runs `check` on the About box once its modal showing has begun.
void WhenAboutBoxShows(std::function<void(Tfrm_about*)> check) {
  QTimer::singleShot(0, [check] {
    ASSERT_NE(frm_about, nullptr);
    check(frm_about);
  });
}

TEST_F(AboutBox, FreshCentredBoxEachTimeClosedByEnter) {
  Start();
  std::vector<QPointer<Tfrm_about>> boxes;
  for (int i = 0; i < 2; ++i) {
    WhenAboutBoxShows([&](Tfrm_about* about) {
      boxes.emplace_back(about);
      EXPECT_EQ(about->findChild<QLabel*>("Label1")->text(), "Glyphary ver 1.10");
      EXPECT_TRUE(CentredOver(about, frm_main));
      QTest::keyClick(about, Qt::Key_Return);
    });
    frm_main->findChild<QAction*>("About1")->trigger();
    EXPECT_EQ(frm_about, nullptr);
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].isNull() && boxes[1].isNull()) << "destroyed after each showing";
}

}  // namespace
}  // namespace glyphary::ui
