// Line breaks in the caption boxes of the main window and the batch rows:
// typed with Ctrl+Enter or Shift+Enter, pasted, shown as a mark, and a real
// break in every caption made from the box. Emoji in the boxes in colour.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMimeData>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "program_fixture.h"
#include "same_pixels.h"
#include "ui/caption_edit.h"
#include "ui/production_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

const QString kMark(kLineBreakMark);

class CaptionBreaks : public ProgramTest {
 protected:
  static Bitmap Expected(const std::string& text) {
    Bitmap caption;
    RenderCaption(caption, text, frm_main->CurrentStyle(), frm_main->Engine());
    return caption;
  }
  // Whether a picture as Qt's own decoder reads it shows the caption.
  static bool Shows(const QImage& image, const Bitmap& caption) {
    if (image.size() != QSize(caption.Width(), caption.Height())) return false;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (Rgb(qRed(p), qGreen(p), qBlue(p)) != caption.PixelAt(x, y)) return false;
      }
    return true;
  }
  static void Paste(CaptionEdit* box, const QString& clipboard) {
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  }
  static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(CaptionBreaks, CtrlOrShiftWithEnterTypesABreakThatTheCaptionTakes) {
  Start();
  CaptionEdit* box = frm_main->edt_text;
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Return, Qt::ControlModifier},
      {Qt::Key_Return, Qt::ShiftModifier},
      {Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier},
      {Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier}};
  for (auto [key, modifiers] : keys) {
    box->clear();
    Type(box, "一行目");
    QTest::keyClick(box, key, modifiers);
    Type(box, "gy");
    EXPECT_EQ(box->text(), "一行目" + kMark + "gy") << modifiers;
    EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("一行目\ngy"))) << modifiers;
  }
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(box->text(), "一行目" + kMark + "gy") << "Enter alone types nothing";
  for (int i = 0; i < 3; ++i) QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "一行目") << "a break goes with one Backspace";
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("一行目")));
}

// Every way text arrives keeps its breaks; the mark itself is a break.
TEST_F(CaptionBreaks, PastedOrDroppedTextKeepsItsBreaks) {
  Start();
  CaptionEdit* box = frm_main->edt_text;
  const std::tuple<QString, QString, std::string> cases[] = {
      {"上\r\n中\r下\n", "上" + kMark + "中" + kMark + "下" + kMark, "上\n中\n下\n"},
      {"\n\nA", kMark + kMark + "A", "\n\nA"},
      {"a" + kMark + "b", "a" + kMark + "b", "a\nb"},
      {"one line", "one line", "one line"},
  };
  for (const auto& [pasted, shown, caption] : cases) {
    box->setText("[]");
    box->setCursorPosition(1);
    Paste(box, pasted);
    EXPECT_EQ(box->text(), "[" + shown + "]") << caption;
    EXPECT_EQ(box->CaptionText(), "[" + caption + "]");
    EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("[" + caption + "]"))) << caption;
  }

  // Set by the program, dropped or pasted with the middle button alike.
  box->setText("x\r\ny\rz");
  EXPECT_EQ(box->text(), "x" + kMark + "y" + kMark + "z");
  EXPECT_EQ(box->CaptionText(), "x\ny\nz");
}

// By key and by the box's own menu, whose items Qt wires up itself.
TEST_F(CaptionBreaks, CopyCutAndPasteByKeyOrMenuHandOverRealBreaks) {
  Start();
  CaptionEdit* box = frm_main->edt_text;
  const auto byMenu = [box](const char* item) {
    return [box, item] {
      QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, box->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(box, &event);
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr(item))) action->trigger();
      menu->close();
    };
  };
  const auto byKey = [box](Qt::Key key) {
    return [box, key] { QTest::keyClick(box, key, Qt::ControlModifier); };
  };
  const std::tuple<std::function<void()>, std::function<void()>, std::function<void()>> ways[] = {
      {byKey(Qt::Key_C), byKey(Qt::Key_X), byKey(Qt::Key_V)},
      {byMenu("&Copy"), byMenu("Cu&t"), byMenu("&Paste")}};
  for (const auto& [copy, cut, paste] : ways) {
    box->setText("上\n中\r\n下");
    box->setSelection(0, 3);
    QGuiApplication::clipboard()->clear();
    copy();
    EXPECT_EQ(Clipboard(), "上\n中");
    box->selectAll();
    QGuiApplication::clipboard()->clear();
    cut();
    EXPECT_EQ(Clipboard(), "上\n中\n下");
    EXPECT_EQ(box->text(), "");
    box->setText("[]");
    box->setCursorPosition(1);
    QGuiApplication::clipboard()->setText("左\r\n右");
    paste();
    EXPECT_EQ(box->text(), "[左" + kMark + "右]");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "[]") << "undone as a paste, not lost to a rewrite";
  }
}

// Between typed letters, pasted or dropped text is one undo step, and undo
// reaches what was typed before it. The middle button needs X11.
TEST_F(CaptionBreaks, ArrivingTextIsOneUndoStepBetweenTypedLetters) {
  Start();
  CaptionEdit* box = frm_main->edt_text;
  const QPoint end(box->width() - 2, box->height() / 2);
  QMimeData data;
  data.setText("左\r\n右");
  QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
  QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, {});
  const std::pair<std::string, std::function<void()>> ways[] = {
      {"Ctrl+V", [&] { Paste(box, data.text()); }},
      {"drop",
       [&] {
         QApplication::sendEvent(box, &enter);
         QApplication::sendEvent(box, &drop);
       }},
      {"middle", [&] { QTest::mouseClick(box, Qt::MiddleButton, {}, end); }}};
  QGuiApplication::clipboard()->setText(data.text(), QClipboard::Selection);
  for (const auto& [way, arrive] : ways) {
    if (way == "middle" && !QGuiApplication::clipboard()->supportsSelection()) continue;
    box->setText({});
    Type(box, "ab");
    arrive();
    Type(box, "c");
    for (const QString& left : {"ab左" + kMark + "右", QString("ab"), QString()}) {
      QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
      EXPECT_EQ(box->text(), left) << way;
    }
  }
}

TEST_F(CaptionBreaks, SaveAsWritesTheCaptionOfSeveralLinesOpaqueOrAlpha) {
  Start();
  CaptionEdit* box = frm_main->edt_text;
  Type(box, "gy");
  QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
  Type(box, "字幕");
  const Bitmap expected = Expected("gy\n字幕");
  for (const char* name : {"opaque", "alpha"}) {
    frm_setting->cb_alpha->setChecked(name == std::string("alpha"));
    dialogs.saveAnswers.push_back({{}, 2, folder.filePath(name)});
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
  }
  EXPECT_TRUE(Shows(QImage(folder.filePath("opaque.png")), expected));
  // Rendered apart from the preview; the breaks set its size.
  EXPECT_EQ(QImage(folder.filePath("alpha.png")).size(),
            QSize(expected.Width(), expected.Height()));
}

TEST_F(CaptionBreaks, BatchRowsTakeTypedAndPastedBreaksIntoTheirFiles) {
  Start();
  frm_main->findChild<QAction*>("N4")->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_production));
  const auto row = [](int n) {
    return frm_production->findChild<CaptionEdit*>(QString("edt_text%1").arg(n));
  };
  const auto name = [](int n) {
    return frm_production->findChild<QLineEdit*>(QString("edt_file%1").arg(n));
  };
  ASSERT_NE(row(1), nullptr);
  Type(row(1), "上");
  QTest::keyClick(row(1), Qt::Key_Return, Qt::ShiftModifier);
  Type(row(1), "gy");
  EXPECT_EQ(row(1)->text(), "上" + kMark + "gy");
  Paste(row(2), "左\r\n\r\n右");
  EXPECT_EQ(row(2)->text(), "左" + kMark + kMark + "右");
  name(1)->setText("typed");
  name(2)->setText("pasted");
  frm_production->edt_saveplace->setText(folder.path());
  frm_production->rdb_bmp->setChecked(true);
  QTest::mouseClick(frm_production->Button6, Qt::LeftButton);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(Shows(QImage(folder.filePath("typed.bmp")), Expected("上\ngy")));
  EXPECT_TRUE(Shows(QImage(folder.filePath("pasted.bmp")), Expected("左\n\n右")));
}

// Where another face also has emoji (Symbola), Qt 6.4 draws them from that
// one, in black, unless the colour face is in the widget's own families; on
// a machine with no such face the pixels alone cannot show it. The rest of
// the text keeps the window's face.
TEST_F(CaptionBreaks, EmojiShowInColourInTheTextBoxAndTheBatchRowsInTheWindowsFace) {
  Start();
  frm_main->findChild<QAction*>("N4")->trigger();
  CaptionEdit* const boxes[] = {frm_main->edt_text,
                                frm_production->findChild<CaptionEdit*>("edt_text10")};
  for (const CaptionEdit* box : boxes) {
    EXPECT_EQ(QFontInfo(box->font()).family(), QFontInfo(QApplication::font()).family());
    EXPECT_EQ(box->font().families().value(1), "Noto Color Emoji");
  }
  if (!QFontDatabase::families().contains("Noto Color Emoji"))
    GTEST_SKIP() << "Noto Color Emoji is not installed";
  for (CaptionEdit* box : boxes) {
    box->setText("🎉🎉🎉");
    const QImage shown = box->grab().toImage();
    int coloured = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        coloured += QColor(shown.pixel(x, y)).hsvSaturation() > 128;
    EXPECT_GT(coloured, 50) << box->objectName().toStdString();
  }
}

}  // namespace
}  // namespace glyphary::ui
