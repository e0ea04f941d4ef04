#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <algorithm>
#include <functional>

#include "program_fixture.h"
#include "same_pixels.h"
#include "ui/production_dialog.h"

namespace glyphary::ui {
namespace {

// The caption the real engine makes for a text and style, for comparison.
Bitmap Expected(const std::string& text, const CaptionStyle& style) {
  Bitmap bitmap;
  RenderCaption(bitmap, text, style, frm_main->Engine());
  return bitmap;
}

using MainWindow = ProgramTest;

TEST_F(MainWindow, FirstStartShowsTheDefaultsAndRendersNothing) {
  Start();
  EXPECT_EQ(frm_main->ComboBox->currentText(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(frm_main->spn_size->text(), "25");
  EXPECT_FALSE(frm_main->spd_bold->isChecked() || frm_main->spd_italic->isChecked() ||
               frm_main->spd_underline->isChecked());
  EXPECT_EQ(frm_main->lbl_textcolor->Color(), kColorBlack);
  EXPECT_EQ(frm_main->lbl_bkcolor->Color(), kColorWhite);
  EXPECT_TRUE(frm_main->edt_text->text().isEmpty());
  EXPECT_TRUE(frm_main->PreviewBitmap().Empty());
  EXPECT_FALSE(frm_main->N2->isChecked());
  EXPECT_EQ(frm_main->frameGeometry().topLeft(), QPoint(200, 150));
  EXPECT_EQ(frm_main->centralWidget()->size(), QSize(615, 301));
  EXPECT_EQ(frm_main->focusWidget(), frm_main->edt_text);
  EXPECT_GT(frm_main->ComboBox->count(), 1);
  EXPECT_EQ(frm_main->ComboBox1->currentIndex(), 0);
  EXPECT_FALSE(frm_main->ComboBox1->isVisible());
}

TEST_F(MainWindow, TabGoesFromTheTextToTheFaceToTheSizeToTheSwatchesAndBack) {
  Start();
  QApplication::setActiveWindow(frm_main);
  ASSERT_TRUE(QTest::qWaitForWindowActive(frm_main));
  frm_main->edt_text->setFocus();
  std::vector<QWidget*> visited;
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    visited.push_back(frm_main->ComboBox->isAncestorOf(focused)   ? frm_main->ComboBox
                      : frm_main->spn_size->isAncestorOf(focused) ? frm_main->spn_size
                                                                  : focused);
  }
  EXPECT_EQ(visited,
            (std::vector<QWidget*>{frm_main->ComboBox, frm_main->spn_size, frm_main->lbl_textcolor,
                                   frm_main->lbl_bkcolor, frm_main->edt_text}));
}

TEST_F(MainWindow, EveryKeystrokeRendersTheWholeCaption) {
  Start();
  QTest::keyClicks(frm_main->edt_text, "abc");
  EXPECT_EQ(Renders(), 3);
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("abc", CaptionStyle())));

  frm_main->edt_text->selectAll();
  QTest::keyClick(frm_main->edt_text, Qt::Key_Delete);
  EXPECT_EQ(Renders(), 4);
  const Bitmap& empty = frm_main->PreviewBitmap();
  EXPECT_EQ(empty.Width(), 3) << "an empty text gives a small background-coloured image";
  EXPECT_EQ(empty.PixelAt(1, 1), kColorWhite);
}

TEST_F(MainWindow, InputMethodRendersOnlyCommittedText) {
  Start();
  QInputMethodEvent composing("てすと", {});
  QApplication::sendEvent(frm_main->edt_text, &composing);
  EXPECT_EQ(Renders(), 0);
  QInputMethodEvent committed;
  committed.setCommitString("テスト");
  QApplication::sendEvent(frm_main->edt_text, &committed);
  EXPECT_EQ(Renders(), 1);
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("テスト", CaptionStyle())));
}

TEST_F(MainWindow, FaceRendersWhenTypedButNotWhenSetByTheProgram) {
  Start();
  EXPECT_EQ(Renders(), 0);
  frm_main->ComboBox->lineEdit()->selectAll();
  QTest::keyClicks(frm_main->ComboBox->lineEdit(), "IPAGothic");
  EXPECT_EQ(Renders(), 9);
  EXPECT_EQ(frm_main->CurrentStyle().faceName, "IPAGothic") << "taken as typed, not completed";
}

TEST_F(MainWindow, StyleButtonsToggleAloneAndRender) {
  Start();
  frm_main->edt_text->setText("Ag");
  QTest::mouseClick(frm_main->spd_italic, Qt::LeftButton);
  EXPECT_TRUE(frm_main->CurrentStyle().italic);
  EXPECT_FALSE(frm_main->CurrentStyle().bold);
  QTest::mouseClick(frm_main->spd_underline, Qt::LeftButton);
  QTest::mouseClick(frm_main->spd_italic, Qt::LeftButton);
  EXPECT_EQ(Renders(), 4);
  CaptionStyle underlined;
  underlined.underline = true;
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("Ag", underlined)));
}

TEST_F(MainWindow, BoldRestoredFromTheFileShowsPressedAndRendersBold) {
  WriteIni("[Font]\nBold=2\n");
  Start();
  EXPECT_TRUE(frm_main->spd_bold->isChecked());
  QTest::keyClicks(frm_main->edt_text, "M");
  CaptionStyle bold;
  bold.bold = true;
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("M", bold)));
}

TEST_F(MainWindow, RestoredSizeOtherThan25RendersTheEmptyTextOnce) {
  WriteIni("[Font]\nSize=40\n");
  Start();
  EXPECT_FALSE(frm_main->PreviewBitmap().Empty());
  EXPECT_EQ(frm_main->PreviewBitmap().PixelAt(0, 0), kColorWhite);
  Restart();
  EXPECT_EQ(frm_main->spn_size->text(), "40");
}

TEST_F(MainWindow, ClickIntoSizeFieldRaisesZeroOrLessToOneAndRendersTwice) {
  Start();
  for (int start : {0, -3}) {
    frm_main->spn_size->SetValue(start);
    const int before = Renders();
    QTest::mouseClick(frm_main->spn_size->Field(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(frm_main->spn_size->text(), "1");
    EXPECT_EQ(Renders() - before, 2);
  }
  QTest::mouseClick(frm_main->spn_size->Field(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(frm_main->spn_size->text(), "1");
  QTest::keyClick(frm_main->spn_size, Qt::Key_Down);
  EXPECT_EQ(frm_main->spn_size->text(), "0") << "only a click corrects the size";
}

TEST_F(MainWindow, CancelledColourDialogChangesNothing) {
  Start();
  QTest::mouseClick(frm_main->lbl_textcolor, Qt::LeftButton);
  EXPECT_EQ(dialogs.colorDialogStarts.size(), 1u);
  EXPECT_EQ(frm_main->lbl_textcolor->Color(), kColorBlack);
  EXPECT_EQ(Renders(), 0);
}

TEST_F(MainWindow, ColourDialogOpensAtTheColourItLastReturned) {
  Start();
  dialogs.colorAnswers = {QColor(255, 0, 0)};
  QTest::mouseClick(frm_main->lbl_bkcolor, Qt::LeftButton);
  EXPECT_EQ(frm_main->lbl_bkcolor->Color(), Rgb(255, 0, 0));
  EXPECT_EQ(Renders(), 1);
  EXPECT_EQ(frm_main->PreviewBitmap().PixelAt(0, 0), Rgb(255, 0, 0));
  QTest::mouseClick(frm_main->lbl_textcolor, Qt::LeftButton);
  ASSERT_EQ(dialogs.colorDialogStarts.size(), 2u);
  EXPECT_EQ(dialogs.colorDialogStarts[0], QColor(Qt::black));
  EXPECT_EQ(dialogs.colorDialogStarts[1], QColor(255, 0, 0));
}

TEST_F(MainWindow, TransparencyItemFromAFreshStartMovesBothBoxes) {
  Start();
  frm_main->N2->trigger();
  EXPECT_TRUE(frm_main->N2->isChecked());
  EXPECT_TRUE(frm_setting->cb_transparent->isChecked());
  EXPECT_TRUE(frm_setting->cb_256->isChecked());
  frm_main->N2->trigger();
  EXPECT_FALSE(frm_main->N2->isChecked());
  EXPECT_FALSE(frm_setting->cb_transparent->isChecked());
  EXPECT_FALSE(frm_setting->cb_256->isChecked());
  EXPECT_EQ(Renders(), 0);
}

TEST_F(MainWindow, TransparencyItemAfterARestoredTransparentStart) {
  WriteIni("[PNG]\nTransParent=1\n256Color=0\n");
  Start();
  EXPECT_FALSE(frm_main->N2->isChecked()) << "the mark is cleared at every start";
  frm_main->N2->trigger();
  EXPECT_TRUE(frm_main->N2->isChecked());
  EXPECT_TRUE(frm_setting->cb_transparent->isChecked());
  EXPECT_FALSE(frm_setting->cb_256->isChecked()) << "no change of the box, no coupling";
  frm_main->N2->trigger();
  EXPECT_FALSE(frm_setting->cb_transparent->isChecked());
  EXPECT_FALSE(frm_setting->cb_256->isChecked());
}

TEST_F(MainWindow, CaptionWiderThanThePreviewIsClippedWhileTheKeptBitmapIsWhole) {
  Start();
  frm_main->spn_size->SetValue(110);
  frm_main->edt_text->setText("日本語のとても長い字幕 Caption that is wide");
  const Bitmap& caption = frm_main->PreviewBitmap();
  ASSERT_GT(caption.Width(), 585);
  ASSERT_GT(caption.Height(), 121);
  const QImage& shown = frm_main->Image1->Shown();
  const qreal ratio = frm_main->Image1->devicePixelRatioF();
  // One caption pixel per device pixel, so a high-dpi screen shows more of it.
  EXPECT_EQ(shown.size(), QSize(std::min(caption.Width(), qCeil(585 * ratio)),
                                std::min(caption.Height(), qCeil(121 * ratio))));
  EXPECT_EQ(shown.devicePixelRatio(), ratio);
  for (QPoint p : {QPoint(0, 0), QPoint(100, 60), QPoint(584, 120)}) {
    const TColor c = caption.PixelAt(p.x(), p.y());
    EXPECT_EQ(shown.pixel(p), qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
  }
  EXPECT_EQ(frm_main->Image1->size(), QSize(585, 121)) << "never resized to the caption";
}

TEST_F(MainWindow, FailedRenderingIsShownOnceAndKeepsThePreviousPicture) {
  Start();
  QTest::keyClicks(frm_main->edt_text, "ok");
  const Bitmap before = frm_main->PreviewBitmap();
  {
    const QSignalBlocker quiet(frm_main->spn_size);
    frm_main->spn_size->SetValue(99998);
  }
  QTest::keyClick(frm_main->spn_size, Qt::Key_Up);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), before));
  frm_main->spn_size->SetValue(25);
  QTest::keyClicks(frm_main->edt_text, "!");
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("ok!", CaptionStyle())))
      << "the window stays usable";
}

TEST_F(MainWindow, HelpAndWebPageGoToTheDesktop) {
  Start();
  frm_main->findChild<QAction*>("Inkwright1")->trigger();
  QTest::mouseClick(frm_main->findChild<QToolButton*>("ToolButton5"), Qt::LeftButton);
  frm_main->findChild<QAction*>("TarventSoftware1")->trigger();
  ASSERT_EQ(dialogs.opened.size(), 3u);
  EXPECT_EQ(dialogs.opened[0], ExecutableFolder() + "/help/index.htm");
  EXPECT_EQ(dialogs.opened[1], dialogs.opened[0]);
  EXPECT_TRUE(dialogs.opened[2].startsWith("http://"));
}

// Without a launcher or a browser the desktop opens nothing: each way to the
// help says so and names the file to read, the maker's page its address.
TEST_F(MainWindow, WhereNothingCanOpenTheHelpAnErrorNamesItsFile) {
  Start();
  const QString help = ExecutableFolder() + "/help/index.htm";
  ASSERT_TRUE(QFileInfo::exists(help));
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"the Help menu", [] { frm_main->findChild<QAction*>("Inkwright1")->trigger(); }},
      {"the ? button",
       [] { QTest::mouseClick(frm_main->findChild<QToolButton*>("ToolButton5"), Qt::LeftButton); }},
      {"the batch dialog",
       [] {
         frm_production->show();
         QTest::mouseClick(frm_production->Button4, Qt::LeftButton);
       }},
      {"the maker's page", [] { frm_main->findChild<QAction*>("TarventSoftware1")->trigger(); }},
  };
  for (const auto& [way, open] : ways) {
    dialogs.errors.clear();
    dialogs.openAnswers = {false};
    open();
    ASSERT_EQ(dialogs.errors.size(), 1u) << way;
    const QString named = dialogs.opened.back().startsWith("http") ? dialogs.opened.back() : help;
    EXPECT_TRUE(dialogs.errors[0].endsWith("\n" + named))
        << way << ": " << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].contains("見つかりません")) << way;
  }
  dialogs.errors.clear();
  frm_main->findChild<QAction*>("Inkwright1")->trigger();
  EXPECT_TRUE(dialogs.errors.empty()) << "opened: nothing to say";
}

// A handler's failure is shown where the handler is connected: it never
// travels back out of the call that set the box off.
TEST_F(MainWindow, AFailingHandlerIsShownWithoutLeavingThroughTheCallThatTriggeredIt) {
  Start();
  EXPECT_NO_THROW(frm_main->spn_size->SetValue(99999));
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "文字サイズが大きすぎるため画像を作成できません");
  EXPECT_NO_THROW(frm_main->findChild<QAction*>("N4")->trigger());
  EXPECT_TRUE(frm_production->isVisible());
}

// One action per command: the menu item and the tool button are the same
// command, and the buttons carry their own hints.
TEST_F(MainWindow, ToolButtonsAreTheMenusOwnCommands) {
  Start();
  const std::pair<const char*, const char*> pairs[] = {{"ToolButton1", "SaveAs1"},
                                                       {"ToolButton2", "N4"},
                                                       {"ToolButton4", "JPEG1"},
                                                       {"ToolButton5", "Inkwright1"}};
  for (const auto& [button, action] : pairs) {
    const auto* tool = frm_main->findChild<QToolButton*>(button);
    ASSERT_NE(tool, nullptr) << button;
    EXPECT_EQ(tool->defaultAction(), frm_main->findChild<QAction*>(action)) << button;
  }
  EXPECT_EQ(frm_main->findChild<QToolButton*>("ToolButton1")->toolTip(), "保存");
  EXPECT_EQ(frm_main->findChild<QToolButton*>("ToolButton2")->toolTip(), "大量生産");
  EXPECT_TRUE(frm_main->findChild<QToolButton*>("ToolButton4")->toolTip().isEmpty());
  EXPECT_TRUE(frm_main->findChild<QToolButton*>("ToolButton5")->toolTip().isEmpty());
  QStringList menuTexts;
  for (const QAction* item : frm_main->findChild<QMenu*>("File1")->actions())
    menuTexts << item->text();
  EXPECT_EQ(menuTexts, QStringList({"名前をつけて保存(&A)", "現在の設定で大量生産(&M)", "設定(&C)",
                                    "", "終了(&X)"}));
}

// The titles are the windows' own captions, nothing appended: Qt adds an
// application display name to every title where one is set.
TEST_F(MainWindow, TitlesAreTheCaptionsAlone) {
  Start();
  EXPECT_EQ(frm_main->windowTitle(), "Glyphary 1.10");
  EXPECT_EQ(frm_setting->windowTitle(), "設定");
  EXPECT_EQ(frm_production->windowTitle(), "大量生産");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

// A Wayland desktop finds the window's menu entry and icon by this name alone.
TEST(ProgramIdentity, TheDesktopFileNameIsTheInstalledMenuEntrysName) {
  const QString name = QGuiApplication::desktopFileName();
  EXPECT_EQ(name, "io.github.glyphary.Glyphary");
  EXPECT_TRUE(QFileInfo::exists(GLYPHARY_DATA_DIR "/" + name + ".desktop"));
}

}  // namespace
}  // namespace glyphary::ui
