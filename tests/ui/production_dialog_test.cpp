#include "ui/production_dialog.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>

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

namespace glyphary::ui {
namespace {

// Types as a user does: Latin letters on the keyboard, Japanese committed by
// the input method.
void Type(QWidget* box, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClicks(box, QString(c));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(box, &commit);
    }
  }
}

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
    EXPECT_EQ(label->geometry().right() + 1 + 3, Field("edt_text", row)->geometry().left());
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
