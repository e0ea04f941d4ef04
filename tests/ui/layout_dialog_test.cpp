// The layout dialog and the tool bar's vertical toggle: opened from the Edit
// menu, every change shown in the preview at once, kept in the settings file.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <functional>
#include <string>

#include "program_fixture.h"
#include "same_pixels.h"
#include "ui/layout_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

// Two lines, kana, kanji, punctuation, Latin and full-width digits: what
// vertical text sets differently.
const std::string kText = "縦書きの「テスト」、\nABC １２３";

class LayoutDialog : public ProgramTest {
 protected:
  void Open() {
    frm_main->findChild<QAction*>("Layout1")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_layout));
  }
  static QToolButton* Toggle() { return frm_main->findChild<QToolButton*>("ToolButton7"); }
  static void TypeText() {
    Type(frm_main->edt_text, "縦書きの「テスト」、");
    QTest::keyClick(frm_main->edt_text, Qt::Key_Return, Qt::ControlModifier);
    Type(frm_main->edt_text, "ABC １２３");
  }
  // The caption as the core renders it with the main window's style and `layout`.
  static Bitmap Expected(const CaptionLayout& layout) {
    CaptionStyle style = frm_main->CurrentStyle();
    style.layout = layout;
    Bitmap caption;
    RenderCaption(caption, kText, style, frm_main->Engine());
    return caption;
  }
  static QStringList AlignNames() {
    return {frm_layout->rdb_start->text(), frm_layout->rdb_center->text(),
            frm_layout->rdb_end->text()};
  }
};

TEST_F(LayoutDialog, TheEditMenuOpensItModelessBesideTheMainWindowWithNothingDrawn) {
  Start();
  QStringList items;
  for (QAction* action : frm_main->menuBar()->findChild<QMenu*>("Edit1")->actions())
    items << action->text();
  EXPECT_TRUE(items.contains("文字組み(&L)...")) << items.join(", ").toStdString();
  frm_main->move(0, 0);
  Open();
  EXPECT_EQ(frm_layout->windowTitle(), "文字組み");
  EXPECT_FALSE(frm_layout->isModal());
  EXPECT_FALSE(frm_layout->frameGeometry().intersects(frm_main->frameGeometry()));
  EXPECT_EQ(frm_layout->Layout(), CaptionLayout{});
  EXPECT_TRUE(frm_layout->rdb_start->isChecked());
  EXPECT_EQ(Renders(), 0) << "opening it changes nothing";
  EXPECT_EQ(frm_main->centralWidget()->size(), QSize(615, 301)) << "the main window keeps its size";
}

TEST_F(LayoutDialog, EveryChangeShowsInThePreviewAtOnce) {
  Start();
  TypeText();
  Open();
  const auto click = [](QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  };
  struct Step {
    std::function<void()> change;
    CaptionLayout layout;
  };
  const Step steps[] = {
      {[&] { click(frm_layout->cb_vertical); }, {true, TextAlign::Start, 100, 0}},
      {[&] { click(frm_layout->rdb_center); }, {true, TextAlign::Center, 100, 0}},
      {[] { frm_layout->spnedt_linespacing->SetValue(180); }, {true, TextAlign::Center, 180, 0}},
      {[] { frm_layout->spnedt_letterspacing->SetValue(-4); }, {true, TextAlign::Center, 180, -4}},
      {[&] { click(frm_layout->rdb_end); }, {true, TextAlign::End, 180, -4}},
      {[&] { click(frm_layout->cb_vertical); }, {false, TextAlign::End, 180, -4}},
  };
  for (const Step& step : steps) {
    const int before = Renders();
    step.change();
    EXPECT_EQ(Renders(), before + 1);
    EXPECT_EQ(frm_main->CurrentStyle().layout, step.layout) << "what Save As and the batch render";
    EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected(step.layout)));
  }
}

// The toggle works before the dialog was ever shown; the alignment's names
// follow whichever changed the direction.
TEST_F(LayoutDialog, TheToolBarToggleAndTheCheckBoxAgreeAndTheAlignNamesFollow) {
  Start();
  TypeText();
  ASSERT_NE(Toggle(), nullptr);
  EXPECT_EQ(Toggle()->toolTip(), "縦書き");
  const QStringList across{"左", "中央", "右"}, down{"上", "中央", "下"};
  const int before = Renders();
  const std::pair<std::function<void()>, bool> steps[] = {
      {[] { QTest::mouseClick(Toggle(), Qt::LeftButton); }, true},
      {[this] { Open(); }, true},
      {[] { QTest::mouseClick(frm_layout->cb_vertical, Qt::LeftButton, {}, QPoint(6, 8)); }, false},
      {[] { QTest::keyClick(frm_layout->cb_vertical, Qt::Key_Space); }, true},
      {[] { QTest::mouseClick(Toggle(), Qt::LeftButton); }, false},
  };
  for (const auto& [step, vertical] : steps) {
    step();
    EXPECT_EQ(Toggle()->isChecked(), vertical);
    EXPECT_EQ(frm_layout->cb_vertical->isChecked(), vertical);
    EXPECT_EQ(AlignNames(), vertical ? down : across);
    EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected({vertical})));
  }
  EXPECT_EQ(Renders(), before + 4) << "one rendering a change, none for opening";
}

// Out of range, the boxes take their bounds, also in the file.
TEST_F(LayoutDialog, TheLayoutIsStoredAtExitAfterTheEffectAndRestoredWithTheToggle) {
  Start();
  Open();
  frm_layout->ShowLayout({true, TextAlign::End, 150, -3});
  frm_layout->spnedt_linespacing->Field()->setText("999");
  frm_layout->spnedt_letterspacing->SetValue(-99);
  const CaptionLayout layout{true, TextAlign::End, 300, -10};
  EXPECT_EQ(frm_layout->Layout(), layout);
  Exit();
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(
      ini.endsWith("ShadowBlur=0\nOuterOutlineWidth=0\nOuterOutlineColor=clBlack\nGradient="
                   "0\nGradientColor=clWhite\n\n[Layout]\nVertical=1\nAlign=2\nLineSpacing=300\n"
                   "LetterSpacing=-10\n"))
      << ini.toStdString();
  Start();
  EXPECT_EQ(frm_layout->Layout(), layout);
  EXPECT_EQ(frm_main->CurrentStyle().layout, layout);
  EXPECT_TRUE(Toggle()->isChecked());
  EXPECT_EQ(AlignNames(), QStringList({"上", "中央", "下"}));
  EXPECT_EQ(Renders(), 0);
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LayoutDialog, ABadStoredValueIsShownOnceAndTheKeysBeforeItStillReachTheToggle) {
  WriteIni("[Font]\nSize=31\n[Layout]\nVertical=1\nAlign=5\nLineSpacing=200\n");
  Start();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0],
            "'5' は 0 から 2 の範囲にありません (" + IniPath() + " の [Layout] Align)");
  EXPECT_EQ(frm_main->spn_size->Value(), 31);
  EXPECT_TRUE(frm_layout->Layout().vertical);
  EXPECT_TRUE(Toggle()->isChecked());
  EXPECT_EQ(frm_layout->Layout().lineSpacing, 100) << "the keys after the bad one are not read";
}

}  // namespace
}  // namespace glyphary::ui
