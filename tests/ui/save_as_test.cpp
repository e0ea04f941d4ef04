// Save As through the real main window, with scripted dialog answers.
#include <png.h>

#include <QDir>
#include <QImage>

#include "jpeg_facts.h"
#include "png_facts.h"
#include "program_fixture.h"

namespace glyphary::ui {
namespace {

class SaveAs : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    QApplication::setActiveWindow(frm_main);
    frm_main->edt_text->setText("字幕 Save");
  }

  // Ctrl+S in the main window, answered with a filter index and a name.
  void Save(int filterIndex, const QString& name) {
    dialogs.saveAnswers.push_back({{}, filterIndex, folder.filePath(name)});
    QTest::keyClick(frm_main->edt_text, Qt::Key_S, Qt::ControlModifier);
  }

  QByteArray Bytes(const QString& name) const {
    QFile file(folder.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  const Bitmap& Caption() const { return frm_main->PreviewBitmap(); }
};

TEST_F(SaveAs, AppendsTheChosenFormatsExtensionWhateverTheNameEndsWith) {
  Save(1, "a.bmp");
  Save(2, "b");
  Save(3, "title.jpg");
  EXPECT_TRUE(dialogs.errors.empty());
  const QImage bmp(folder.filePath("a.bmp.bmp"), "BMP");
  ASSERT_FALSE(bmp.isNull());
  EXPECT_EQ(bmp.size(), QSize(Caption().Width(), Caption().Height()));
  const TColor ink = Caption().PixelAt(4, Caption().Height() / 2);
  EXPECT_EQ(bmp.pixel(4, Caption().Height() / 2), qRgb(RedOf(ink), GreenOf(ink), BlueOf(ink)));

  EXPECT_EQ(ReadPng(folder.filePath("b.png").toStdString()).width, Caption().Width());
  EXPECT_EQ(ReadJpeg(folder.filePath("title.jpg.jpg").toStdString()).height, Caption().Height());
  EXPECT_FALSE(QFileInfo::exists(folder.filePath("title.jpg")));
}

TEST_F(SaveAs, DialogOpensWithJpegFirstThenWithTheLastChoice) {
  Save(2, "first");
  Save(2, "first");
  ASSERT_EQ(dialogs.saveDialogStarts.size(), 2u);
  const SaveFileRequest& opened = dialogs.saveDialogStarts[0];
  EXPECT_EQ(opened.filterIndex, 3);
  EXPECT_EQ(opened.filters,
            QStringList({"BMP -Win32 Bitmap-", "*.bmp", "PNG -Portable Network Graphics-", "*.png",
                         "JPEG -Jpeg File-", "*.jpg"}));
  EXPECT_TRUE(opened.fileName.isEmpty());
  EXPECT_EQ(dialogs.saveDialogStarts[1].filterIndex, 2);
  EXPECT_EQ(dialogs.saveDialogStarts[1].fileName, folder.filePath("first"))
      << "the name as given, without the appended extension";
  ASSERT_EQ(dialogs.warnings.size(), 1u) << "the same name again targets the same file";
}

TEST_F(SaveAs, ReplacingAskedOnlyForAnExistingFileAndCancelLeavesItUntouched) {
  Save(3, "title.jpg");
  EXPECT_TRUE(dialogs.warnings.empty());
  const QByteArray original = Bytes("title.jpg.jpg");
  ASSERT_FALSE(original.isEmpty());

  frm_setting->spnedt_jpeg->SetValue(100);
  dialogs.warningAnswers = {false};
  Save(3, "title.jpg");
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_EQ(dialogs.warnings[0],
            folder.filePath("title.jpg.jpg") + "はすでに存在しています。置き換えていいですか?");
  EXPECT_EQ(Bytes("title.jpg.jpg"), original);

  dialogs.warningAnswers = {true};
  Save(3, "title.jpg");
  EXPECT_NE(Bytes("title.jpg.jpg"), original) << "replaced at the quality now set";
  EXPECT_GT(ReadJpeg(folder.filePath("title.jpg.jpg").toStdString()).width, 0);
}

TEST_F(SaveAs, FolderNamedLikeTheTargetGivesTheCreationErrorWithoutAPrompt) {
  ASSERT_TRUE(QDir(folder.path()).mkdir("shot.png"));
  Save(2, "shot");
  EXPECT_TRUE(dialogs.warnings.empty());
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(dialogs.errors[0].startsWith("ファイル " + folder.filePath("shot.png") +
                                           " を作成できません ("))
      << dialogs.errors[0].toStdString();
  EXPECT_TRUE(QFileInfo(folder.filePath("shot.png")).isDir());
}

TEST_F(SaveAs, TransparentPngWithoutReductionIsTruecolourWithTrnsAndNoBackground) {
  dialogs.colorAnswers = {QColor(0, 128, 255)};
  QTest::mouseClick(frm_main->lbl_bkcolor, Qt::LeftButton);
  frm_setting->cb_transparent->setChecked(true);
  frm_setting->cb_256->setChecked(false);
  Save(2, "clear");
  const PngFacts png = ReadPng(folder.filePath("clear.png").toStdString());
  EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(png.bitDepth, 8);
  ASSERT_TRUE(png.transparency);
  EXPECT_EQ(png.transparentColor, Rgb(0, 128, 255));
  EXPECT_EQ(png.background, kColorNone);
}

TEST_F(SaveAs, ReductionTo256ColoursLeavesThePreviewUntouched) {
  frm_setting->cb_transparent->setChecked(true);
  const Bitmap before = Caption();
  Save(2, "reduced");
  EXPECT_EQ(ReadPng(folder.filePath("reduced.png").toStdString()).colorType,
            PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(Caption().BitsPerPixel(), 24);
  EXPECT_EQ(Caption().Width(), before.Width());
}

TEST_F(SaveAs, CancelledDialogWritesNothing) {
  QTest::mouseClick(frm_main->findChild<QToolButton*>("ToolButton1"), Qt::LeftButton);
  EXPECT_EQ(dialogs.saveDialogStarts.size(), 1u);
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).filter(".jpg").isEmpty());
}

using SaveAsBeforeAnyChange = ProgramTest;

TEST_F(SaveAsBeforeAnyChange, WritesTheBackgroundImageOfTheEmptyText) {
  Start();
  dialogs.saveAnswers.push_back({{}, 1, folder.filePath("empty")});
  frm_main->findChild<QAction*>("SaveAs1")->trigger();
  const QImage bmp(folder.filePath("empty.bmp"), "BMP");
  ASSERT_FALSE(bmp.isNull()) << "never an empty image";
  EXPECT_EQ(bmp.width(), 3);
  EXPECT_EQ(bmp.pixel(1, 1), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace glyphary::ui
