#include "ui/production_dialog.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>
#include <QUrl>

#include <cstdio>
#include <filesystem>

#include "app/forms_lifecycle.h"
#include "jpeg_facts.h"
#include "png_facts.h"
#include "scripted_dialogs.h"
#include "test_support.h"
#include "ui/batch_progress.h"
#include "ui/forms.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

// A check box or radio button takes a click on its indicator or its text,
// not on the empty rest of its width.
void ClickIndicator(QAbstractButton* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

class BatchDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsPath(QString::fromStdString(settingsDir_.File("glyphary.INI")));
    app::CreateForms();
    dialog = frm_production;
  }
  void TearDown() override { app::DestroyForms(); }

  void Show() {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  }
  QLineEdit* Field(const char* prefix, int row) const {
    return dialog->findChild<QLineEdit*>(prefix + QString::number(row));
  }
  // Types a row's text and name; an empty one clears that box.
  void Enter(int row, const QString& text, const QString& name) {
    dialog->PageControl1->setCurrentIndex(0);
    for (auto [box, value] :
         {std::pair{Field("edt_text", row), text}, {Field("edt_file", row), name}}) {
      box->clear();
      Type(box, value);
    }
  }
  void ClearRows() {
    for (int row = 1; row <= 10; ++row) Enter(row, "", "");
  }
  void EnterFolder(const std::string& folder) {
    dialog->PageControl1->setCurrentIndex(2);
    dialog->edt_saveplace->clear();
    Type(dialog->edt_saveplace, QString::fromStdString(folder));
  }
  void ChooseFormat(QRadioButton* button) {
    dialog->PageControl1->setCurrentIndex(1);
    ClickIndicator(button);
  }
  void PressOk() { QTest::mouseClick(dialog->Button6, Qt::LeftButton); }
  // The caption as the main window's current style renders it.
  Bitmap Caption(const std::string& text) {
    Bitmap caption;
    RenderCaption(caption, text, frm_main->CurrentStyle(), frm_main->Engine());
    return caption;
  }

  ScriptedDialogs dialogs;
  TempDir out;
  Tfrm_production* dialog = nullptr;

 private:
  TempDir settingsDir_;
};

TEST_F(BatchDialog, FirstShowingIsJpegInTheProgramFolderWithTheSettingsDialogsOptions) {
  frm_setting->spnedt_jpeg->SetValue(55);
  frm_setting->cb_transparent->setChecked(true);
  frm_setting->cb_256->setChecked(false);
  Show();
  EXPECT_EQ(dialog->windowTitle(), "大量生産");
  EXPECT_EQ(dialog->size(), QSize(432, 368));
  EXPECT_GE(dialog->frameGeometry().left(), 0);
  EXPECT_GE(dialog->frameGeometry().top(), 0);
  EXPECT_EQ(dialog->PageControl1->currentIndex(), 0);
  EXPECT_TRUE(dialog->rdb_jpeg->isChecked());
  EXPECT_EQ(dialog->edt_saveplace->text(), ExecutableFolder());
  EXPECT_EQ(dialog->spnedt_jpeg->Value(), 55);
  // The copy settles cb_256 after the coupling of cb_transparent ticked it.
  EXPECT_TRUE(dialog->cb_transparent->isChecked());
  EXPECT_FALSE(dialog->cb_256->isChecked());
  for (int row = 1; row <= 10; ++row) {
    EXPECT_TRUE(Field("edt_text", row)->text().isEmpty());
    EXPECT_TRUE(Field("edt_file", row)->text().isEmpty());
    const auto* label = dialog->findChild<QLabel*>(QString("edt_text%1_label").arg(row));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::number(row));
    // 3 px from the box, but clear of the page's frame where "10" is too wide for that.
    const int gap = Field("edt_text", row)->geometry().left() - (label->geometry().right() + 1);
    EXPECT_EQ(gap, row < 10 ? 3 : gap) << row;
    EXPECT_GE(gap, 1) << row;
    EXPECT_GE(label->geometry().left(), 0) << row;
    EXPECT_GE(label->width(), std::min(label->sizeHint().width(), 16 - 1)) << "row " << row;
    EXPECT_EQ(Field("edt_text", row)->geometry().top(), 24 + 24 * (row - 1));
  }
}

TEST_F(BatchDialog, TabWalksTheButtonsThenTheTextsThenTheNames) {
  Show();
  QApplication::setActiveWindow(dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  EXPECT_EQ(QApplication::focusWidget(), dialog->Button4);
  std::vector<QString> order;
  for (int i = 0; i < 25; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(order[0], "Button5");
  EXPECT_EQ(order[1], "Button6");
  for (int row = 1; row <= 10; ++row) {
    EXPECT_EQ(order[2 + row], QString("edt_text%1").arg(row));
    EXPECT_EQ(order[12 + row], QString("edt_file%1").arg(row));
  }
  EXPECT_EQ(order[23], "Button4");
}

TEST_F(BatchDialog, TickingTransparentHereTicks256HereOnly) {
  Show();
  ChooseFormat(dialog->rdb_bmp);
  EXPECT_TRUE(dialog->spnedt_jpeg->isEnabled());
  ClickIndicator(dialog->cb_transparent);
  EXPECT_TRUE(dialog->cb_256->isChecked());
  ClickIndicator(dialog->cb_256);
  EXPECT_FALSE(dialog->cb_256->isChecked());
  EXPECT_TRUE(dialog->cb_transparent->isChecked());
  EXPECT_FALSE(frm_setting->cb_transparent->isChecked());
  EXPECT_FALSE(frm_setting->cb_256->isChecked());
}

TEST_F(BatchDialog, BatchQualityStaysHereAndTheNextShowingBringsBackTheSettingsDialogs) {
  Show();
  ASSERT_EQ(dialog->spnedt_jpeg->Value(), 70);
  dialog->PageControl1->setCurrentIndex(1);
  dialog->spnedt_jpeg->Field()->selectAll();
  QTest::keyClicks(dialog->spnedt_jpeg, "90");
  dialog->show();  // already visible: no fresh copy
  EXPECT_EQ(dialog->spnedt_jpeg->Value(), 90);
  Enter(1, "品質", "q");
  EnterFolder(out.Path());
  PressOk();
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ReadJpeg(out.File("q.jpg")).LumaDcStep(), 3);
  EXPECT_EQ(frm_setting->spnedt_jpeg->Value(), 70);

  ChooseFormat(dialog->rdb_bmp);
  dialog->move(40, 30);
  Show();
  EXPECT_EQ(dialog->pos(), QPoint(40, 30));  // where it was left, not centred again
  EXPECT_EQ(dialog->spnedt_jpeg->Value(), 70);
  EXPECT_EQ(Field("edt_text", 1)->text(), "品質");
  EXPECT_TRUE(dialog->rdb_bmp->isChecked());
  EXPECT_EQ(dialog->edt_saveplace->text(), QString::fromStdString(out.Path()));
}

TEST_F(BatchDialog, ChecksComeInOrderAndAnInputErrorKeepsTheDialogOpenAndWritesNothing) {
  Show();
  EnterFolder(out.Path());
  ChooseFormat(dialog->rdb_bmp);
  struct Case {
    std::vector<std::tuple<int, QString, QString>> rows;
    QString message;
  };
  const Case cases[] = {
      {{{2, "文", ""}, {5, "a", "same"}, {6, "b", "same"}}, "正しく入力されていない項目があります"},
      {{{3, "a", "same"}, {9, "b", "same"}}, "ファイル名に重複があります"},
      {{{1, "a", "a/b"}}, "ファイル名に \\ / : ? < > | は使えません"},
      {{{1, "a", "あ/"}}, "ファイル名に \\ / : ? < > | は使えません"},
  };
  for (const Case& c : cases) {
    ClearRows();
    for (const auto& [row, text, name] : c.rows) Enter(row, text, name);
    dialogs.errors.clear();
    PressOk();
    ASSERT_EQ(dialogs.errors.size(), 1u) << c.message.toStdString();
    EXPECT_EQ(dialogs.errors[0], c.message);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(out.Entries(), 0u);
  }
  EXPECT_EQ(Field("edt_file", 1)->text(), "あ/");

  ClearRows();
  Enter(1, "題", "Title");
  Enter(3, "題", "title");
  Enter(5, "表", "表");
  Enter(7, " ", "a*b");
  dialogs.errors.clear();
  PressOk();
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_FALSE(dialog->isVisible());
  for (const char* name : {"Title.bmp", "title.bmp", "表.bmp", "a*b.bmp"})
    EXPECT_FALSE(QImage(QString::fromStdString(out.File(name))).isNull()) << name;
}

TEST_F(BatchDialog, UsedRowsAreWrittenInRowOrderAndAFailedWriteKeepsEarlierFilesAndTheDialog) {
  Show();
  EnterFolder(out.Path());
  const std::pair<int, std::string> used[] = {{1, "一行目"}, {4, "四行目 four"}, {9, "九"}};
  for (const auto& [row, text] : used)
    Enter(row, QString::fromStdString(text), QString("r%1").arg(row));
  std::filesystem::create_directory(out.File("r4.jpg"));  // row 4 cannot be written

  PressOk();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(dialogs.errors[0].startsWith(
      QString::fromStdString("ファイル " + out.File("r4.jpg") + " を作成できません (")))
      << dialogs.errors[0].toStdString();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(std::filesystem::exists(out.File("r1.jpg")));
  EXPECT_FALSE(std::filesystem::exists(out.File("r9.jpg")));

  std::filesystem::remove(out.File("r4.jpg"));
  PressOk();
  EXPECT_EQ(dialogs.errors.size(), 1u);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(out.Entries(), 3u);
  for (const auto& [row, text] : used) {
    const JpegFacts jpeg = ReadJpeg(out.File("r" + std::to_string(row) + ".jpg"));
    const Bitmap caption = Caption(text);
    EXPECT_EQ(jpeg.width, caption.Width()) << row;
    EXPECT_EQ(jpeg.height, caption.Height()) << row;
    EXPECT_EQ(jpeg.LumaDcStep(), 10) << row;
  }
}

TEST_F(BatchDialog, PngWithBothOptionsMarksEveryFileTransparentWithAMagentaBackground) {
  frm_setting->cb_transparent->setChecked(true);
  frm_setting->cb_256->setChecked(true);
  Show();
  ChooseFormat(dialog->rdb_png);
  EnterFolder(out.Path());
  for (int row : {2, 3, 10}) Enter(row, QString("透過 %1").arg(row), QString("p%1").arg(row));
  PressOk();
  EXPECT_TRUE(dialogs.errors.empty());
  for (int row : {2, 3, 10}) {
    const PngFacts png = ReadPng(out.File("p" + std::to_string(row) + ".png"));
    EXPECT_TRUE(png.palette) << row;
    EXPECT_TRUE(png.transparency) << row;
    EXPECT_EQ(png.background, Rgb(255, 0, 255)) << row;
    EXPECT_EQ(png.CornerAlpha(), 0) << row;  // the background colour is the transparent one
  }
}

// Each option on its own: a transparent full-colour file, and an opaque
// file of 256 colours.
TEST_F(BatchDialog, TransparencyAndColourReductionEachReachTheirOwnFiles) {
  Show();
  ChooseFormat(dialog->rdb_png);
  EnterFolder(out.Path());
  Enter(1, "透過", "t");
  ClickIndicator(dialog->cb_transparent);
  ClickIndicator(dialog->cb_256);
  ASSERT_TRUE(dialog->cb_transparent->isChecked() && !dialog->cb_256->isChecked());
  PressOk();
  const PngFacts transparent = ReadPng(out.File("t.png"));
  EXPECT_FALSE(transparent.palette);
  EXPECT_EQ(transparent.transparentColor, kColorWhite);

  Show();  // the options come anew from the settings dialog: both clear
  ChooseFormat(dialog->rdb_png);
  ClickIndicator(dialog->cb_256);
  ASSERT_TRUE(!dialog->cb_transparent->isChecked() && dialog->cb_256->isChecked());
  Enter(1, "減色", "r");
  PressOk();
  EXPECT_TRUE(dialogs.errors.empty());
  const PngFacts reduced = ReadPng(out.File("r.png"));
  EXPECT_TRUE(reduced.palette);
  EXPECT_FALSE(reduced.transparency);
}

// An empty folder box would put the files at the root of the file system.
TEST_F(BatchDialog, AnEmptyFolderIsRefusedBeforeAnythingIsWritten) {
  Show();
  Enter(1, "文", "name");
  EnterFolder("");
  PressOk();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "保存場所を入力してください");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(std::filesystem::exists("/name.jpg"));
}

// Pasted names with a NUL would both be cut to "a", the second file over
// the first.
TEST_F(BatchDialog, PastedNamesWithANulAreRefused) {
  Show();
  EnterFolder(out.Path());
  Field("edt_text", 1)->setText("一");
  Field("edt_file", 1)->setText(QString("a") + QChar(0) + "x");
  Field("edt_text", 2)->setText("二");
  Field("edt_file", 2)->setText(QString("a") + QChar(0) + "y");
  PressOk();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "NUL 文字は使えません");
  EXPECT_EQ(out.Entries(), 0u);
}

TEST_F(BatchDialog, HelpOpensTheHelpPageAtTheBatchSectionAndPngExplainsTheOptions) {
  Show();
  QTest::mouseClick(dialog->Button4, Qt::LeftButton);
  ASSERT_EQ(dialogs.opened.size(), 1u);
  const QUrl page(dialogs.opened[0]);
  EXPECT_TRUE(page.isLocalFile());
  EXPECT_EQ(page.fragment(), "production");
  EXPECT_TRUE(QFileInfo::exists(page.toLocalFile())) << page.toLocalFile().toStdString();
  const QString help = QString::fromUtf8(ReadAll(page.toLocalFile().toStdString()));
  EXPECT_TRUE(help.contains("id=\"production\""));

  dialog->PageControl1->setCurrentIndex(1);
  QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  ASSERT_EQ(dialogs.informations.size(), 1u);
  EXPECT_EQ(dialogs.informations[0].first, "PNGについて");
  EXPECT_TRUE(dialogs.informations[0].second.contains("背景を透過する"));
  EXPECT_TRUE(dialogs.informations[0].second.contains("256色"));
}

TEST_F(BatchDialog, EnterAndEscapeNeitherRunNorCloseTheDialog) {
  Show();
  EnterFolder(out.Path());
  Enter(1, "a", "a");
  QTest::keyClick(Field("edt_file", 1), Qt::Key_Return);
  QTest::keyClick(Field("edt_file", 1), Qt::Key_Escape);
  QTest::keyClick(dialog->Button6, Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(out.Entries(), 0u);
  QTest::mouseClick(dialog->Button5, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Field("edt_file", 1)->text(), "a");
}

TEST_F(BatchDialog, ProgressWindowComesUpModalOnlyAfterItsDelayAndGoesWithTheRun) {
  Show();
  {
    BatchProgress quick(dialog);
    quick.Report(1, 10);
    EXPECT_EQ(quick.Window(), nullptr);
  }
  {
    // A run that has taken half a second shows where it stands.
    BatchProgress run(dialog);
    QTest::qWait(500);
    run.Report(2, 10);
    EXPECT_NE(run.Window(), nullptr);
  }
  {
    // Never for the last file: the run is over.
    BatchProgress done(dialog, std::chrono::milliseconds(0));
    done.Report(10, 10);
    EXPECT_EQ(done.Window(), nullptr);
  }
  {
    BatchProgress slow(dialog, std::chrono::milliseconds(0));
    slow.Report(1, 10);
    ASSERT_NE(slow.Window(), nullptr);
    EXPECT_TRUE(slow.Window()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), slow.Window());
    QTest::keyClick(slow.Window(), Qt::Key_Escape);
    EXPECT_TRUE(slow.Window()->isVisible());
    slow.Report(2, 10);
    EXPECT_EQ(slow.Window()->value(), 2);
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace glyphary::ui
