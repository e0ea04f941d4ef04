// The caption beyond the Parts: alpha PNG from the dialogs, on the
// clipboard and dragged from the preview.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>

#include "png_facts.h"
#include "program_fixture.h"
#include "test_support.h"
#include "ui/caption_transfer.h"
#include "ui/production_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

class CaptionTransfer : public ProgramTest {
 protected:
  void SetUp() override {
    // The drop files go to the cache folder: keep them in the test's.
    ::setenv("XDG_CACHE_HOME", QFile::encodeName(folder.filePath("cache")).constData(), 1);
    QStandardPaths::setTestModeEnabled(false);
  }

  // The bytes of an "image/png" as a file, read back by libpng.
  PngFacts Decoded(const QByteArray& png) {
    const std::string path = QFile::encodeName(folder.filePath("decoded.png")).toStdString();
    WriteWholeFile(path,
                   {reinterpret_cast<const std::uint8_t*>(png.data()), std::size_t(png.size())});
    return ReadPng(path);
  }

  Bitmap Opaque(const std::string& text) {
    Bitmap b;
    RenderCaption(b, text, frm_main->CurrentStyle(), frm_main->Engine());
    return b;
  }
};

TEST_F(CaptionTransfer, AlphaTickedGreysTheColourKeyAndIsStoredAndCopiedToTheBatch) {
  Start();
  QCheckBox* alpha = frm_setting->cb_alpha;
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->text(), "アルファで透過 (縁もなめらか)");
  EXPECT_EQ(alpha->parentWidget()->objectName(), "gb_png");
  // Below the Parts' controls, moving none of them.
  EXPECT_GE(alpha->geometry().top(), frm_setting->cb_256->geometry().bottom());
  EXPECT_EQ(frm_setting->cb_256->geometry(), QRect(16, 40, 217, 17));
  EXPECT_FALSE(alpha->geometry().intersects(frm_setting->Button1->geometry()));
  alpha->setChecked(true);
  EXPECT_FALSE(frm_setting->cb_transparent->isEnabled());
  EXPECT_FALSE(frm_setting->cb_256->isEnabled());
  EXPECT_TRUE(frm_setting->Options().pngAlpha);
  frm_main->findChild<QAction*>("N4")->trigger();
  EXPECT_TRUE(frm_production->cb_alpha->isChecked());
  EXPECT_FALSE(frm_production->cb_256->isEnabled());
  EXPECT_TRUE(frm_production->Options().pngAlpha);
  Exit();
  EXPECT_TRUE(ReadIni().contains("256Color=0\nAlpha=1")) << ReadIni().toStdString();
  Start();
  EXPECT_TRUE(frm_setting->cb_alpha->isChecked());
  EXPECT_FALSE(frm_setting->cb_transparent->isEnabled());
  frm_setting->cb_alpha->setChecked(false);
  EXPECT_TRUE(frm_setting->cb_transparent->isEnabled() && frm_setting->cb_256->isEnabled());
}

TEST_F(CaptionTransfer, SaveAsWithAlphaWritesTheTextColourWithItsInkAsAlpha) {
  Start();
  frm_setting->cb_alpha->setChecked(true);
  Type(frm_main->edt_text, "透過 gyj");
  const QString name = folder.filePath("alpha");
  dialogs.saveAnswers.push_back({{}, 2, name});
  frm_main->findChild<QAction*>("SaveAs1")->trigger();
  const PngFacts png = ReadPng(QFile::encodeName(name + ".png").toStdString());
  EXPECT_EQ(png.colorType, 6);
  EXPECT_EQ(png.width, frm_main->PreviewBitmap().Width());
  EXPECT_EQ(png.height, frm_main->PreviewBitmap().Height());
  EXPECT_EQ(png.CornerAlpha(), 0);
}

// Ctrl+Shift+C puts the caption on the clipboard as PNG and as an image;
// Ctrl+C in the text box still copies text.
TEST_F(CaptionTransfer, CopyImagePutsThePngOnTheClipboardAndCtrlCStaysText) {
  Start();
  QApplication::setActiveWindow(frm_main);
  Type(frm_main->edt_text, "コピー Copy");
  QTest::keyClick(frm_main->edt_text, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(data->hasFormat("image/png"));
  const Bitmap opaque = Opaque("コピー Copy");
  PngFacts png = Decoded(data->data("image/png"));
  EXPECT_EQ(png.colorType, 2);
  EXPECT_EQ(png.width, opaque.Width());
  EXPECT_EQ(png.At(png.width / 2, png.height / 2) & 0xFFFFFF,
            std::uint32_t(opaque.PixelAt(opaque.Width() / 2, opaque.Height() / 2)));
  EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(),
            QSize(opaque.Width(), opaque.Height()));

  // The colour key and the alpha as the settings dialog has them.
  frm_setting->cb_transparent->setChecked(true);
  frm_setting->cb_256->setChecked(false);
  frm_main->findChild<QAction*>("CopyImage1")->trigger();
  png = Decoded(QGuiApplication::clipboard()->mimeData()->data("image/png"));
  EXPECT_EQ(png.transparentColor, kColorWhite);
  frm_setting->cb_alpha->setChecked(true);
  frm_main->findChild<QAction*>("CopyImage1")->trigger();
  EXPECT_EQ(Decoded(QGuiApplication::clipboard()->mimeData()->data("image/png")).colorType, 6);

  frm_main->edt_text->selectAll();
  QTest::keyClick(frm_main->edt_text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "コピー Copy");
}

TEST_F(CaptionTransfer, ThePreviewOffersCopyOnItsMenuAndDragsAFileNamedAfterTheText) {
  Start();
  EXPECT_TRUE(frm_main->Image1->actions().contains(frm_main->findChild<QAction*>("CopyImage1")));
  EXPECT_EQ(frm_main->Image1->contextMenuPolicy(), Qt::ActionsContextMenu);
  EXPECT_EQ(frm_main->Image1->DragData(), nullptr) << "nothing to drag before a caption";
  Type(frm_main->edt_text, "字幕: a/b?");
  const std::unique_ptr<QMimeData> data = frm_main->Image1->DragData();
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->urls().size(), 1);
  const QString file = data->urls().front().toLocalFile();
  EXPECT_TRUE(file.startsWith(folder.filePath("cache"))) << file.toStdString();
  EXPECT_TRUE(file.endsWith("/字幕_ a_b_.png")) << file.toStdString();
  const QByteArray png = data->data("image/png");
  EXPECT_EQ(ReadBytes(QFile::encodeName(file).toStdString()),
            std::vector<std::uint8_t>(png.begin(), png.end()));
  EXPECT_EQ(Decoded(png).width, frm_main->PreviewBitmap().Width());
}

TEST(CaptionFileName, KeepsTheTextButWhatAFileNameCannotHold) {
  EXPECT_EQ(FileNameFor("日本語の字幕"), "日本語の字幕");
  EXPECT_EQ(FileNameFor(" a/b\\c:d*e?f\"g<h>i|j\tk "), "a_b_c_d_e_f_g_h_i_j_k");
  EXPECT_EQ(FileNameFor(""), "caption");
  EXPECT_EQ(FileNameFor(".."), "caption");
  EXPECT_EQ(FileNameFor(QString(100, QChar('x'))).size(), 60);
  // Not inside a character beyond the basic plane.
  const QString emoji = QString(59, QChar('x')) + QString::fromUtf8("😀");
  EXPECT_EQ(FileNameFor(emoji), QString(59, QChar('x')));
}

}  // namespace
}  // namespace glyphary::ui
