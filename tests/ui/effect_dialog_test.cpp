// The border and shadow dialog: opened from the Edit menu, every change shown
// in the preview at once, kept in the settings file.
#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "program_fixture.h"
#include "same_pixels.h"
#include "ui/effect_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

class EffectDialog : public ProgramTest {
 protected:
  void Open() {
    frm_main->findChild<QAction*>("Effect1")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_effect));
  }
  // The caption as the core renders it with the main window's style and `effect`.
  static Bitmap Expected(const std::string& text, const CaptionEffect& effect) {
    CaptionStyle style = frm_main->CurrentStyle();
    style.effect = effect;
    Bitmap caption;
    RenderCaption(caption, text, style, frm_main->Engine());
    return caption;
  }
};

TEST_F(EffectDialog, TheEditMenuOpensItModelessWithNothingDrawn) {
  Start();
  QMenu* edit = frm_main->menuBar()->findChild<QMenu*>("Edit1");
  ASSERT_NE(edit, nullptr);
  QStringList items;
  for (QAction* action : edit->actions()) items << action->text();
  EXPECT_TRUE(items.contains("縁取りと影(&O)...")) << items.join(", ").toStdString();
  Open();
  EXPECT_EQ(frm_effect->windowTitle(), "縁取りと影");
  EXPECT_FALSE(frm_effect->isModal());
  EXPECT_TRUE(frm_effect->Effect().None());
  EXPECT_EQ(frm_effect->Effect(), CaptionEffect{});
  EXPECT_EQ(Renders(), 0) << "opening it changes nothing";
}

TEST_F(EffectDialog, ItFirstOpensBesideTheMainWindowSoThePreviewStaysInSight) {
  Start();
  frm_main->move(0, 0);
  Open();
  EXPECT_FALSE(frm_effect->frameGeometry().intersects(frm_main->frameGeometry()));
  EXPECT_TRUE(frm_main->screen()->availableGeometry().contains(frm_effect->frameGeometry()));
  frm_effect->hide();
  frm_effect->move(30, 40);
  Open();
  EXPECT_EQ(frm_effect->pos(), QPoint(30, 40)) << "later where it was left";
}

TEST_F(EffectDialog, EveryChangeShowsInThePreviewAtOnce) {
  Start();
  Type(frm_main->edt_text, "gyj 縁");
  Open();
  const int before = Renders();
  frm_effect->spnedt_outline->SetValue(3);
  EXPECT_EQ(Renders(), before + 1);
  CaptionEffect effect;
  effect.outlineWidth = 3;
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("gyj 縁", effect)));

  dialogs.colorAnswers.push_back(QColor(255, 0, 0));
  QTest::mouseClick(frm_effect->lbl_outlinecolor, Qt::LeftButton);
  ASSERT_EQ(dialogs.colorDialogStarts.size(), 1u);
  EXPECT_EQ(dialogs.colorDialogStarts[0], QColor(255, 255, 255)) << "starts at the swatch's colour";
  effect.outlineColor = Rgb(255, 0, 0);
  EXPECT_EQ(frm_effect->Effect(), effect);

  frm_effect->spnedt_shadowx->SetValue(-4);
  frm_effect->spnedt_shadowy->SetValue(2);
  frm_effect->spnedt_shadowblur->SetValue(3);
  effect.shadowX = -4;
  effect.shadowY = 2;
  effect.shadowBlur = 3;
  EXPECT_EQ(frm_main->CurrentStyle().effect, effect) << "what Save As and the batch render";
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("gyj 縁", effect)));

  // A cancelled colour dialog changes nothing.
  const int settled = Renders();
  QTest::mouseClick(frm_effect->lbl_shadowcolor, Qt::LeftButton);
  EXPECT_EQ(Renders(), settled);
  EXPECT_EQ(frm_effect->Effect(), effect);

  // The テロップ style's outer border and fill, each shown at once.
  frm_effect->spnedt_outeroutline->SetValue(5);
  dialogs.colorAnswers.push_back(QColor(139, 0, 0));
  QTest::mouseClick(frm_effect->lbl_outeroutlinecolor, Qt::LeftButton);
  QTest::mouseClick(frm_effect->cb_gradient, Qt::LeftButton);
  dialogs.colorAnswers.push_back(QColor(255, 120, 0));
  QTest::mouseClick(frm_effect->lbl_gradientcolor, Qt::LeftButton);
  EXPECT_EQ(Renders(), settled + 4);
  effect.outerOutlineWidth = 5;
  effect.outerOutlineColor = Rgb(139, 0, 0);
  effect.gradient = true;
  effect.gradientColor = Rgb(255, 120, 0);
  EXPECT_EQ(frm_main->CurrentStyle().effect, effect);
  EXPECT_TRUE(SamePixels(frm_main->PreviewBitmap(), Expected("gyj 縁", effect)));
}

TEST_F(EffectDialog, TheBoxesHoldTheirRangesAndAHalfTypedNumberDrawsNoShadow) {
  Start();
  Open();
  frm_effect->spnedt_outline->SetValue(99);
  frm_effect->spnedt_shadowx->SetValue(-99);
  frm_effect->spnedt_shadowblur->SetValue(-1);
  EXPECT_EQ(frm_effect->Effect().outlineWidth, 20);
  EXPECT_EQ(frm_effect->Effect().shadowX, -20);
  EXPECT_EQ(frm_effect->Effect().shadowBlur, 0);
  frm_effect->spnedt_shadowx->Field()->setText("-");
  EXPECT_EQ(frm_effect->Effect().shadowX, 0) << "not the lower bound, -20";
  // Typed out of range, the focus never leaving the box: still stored in range.
  frm_effect->spnedt_shadowy->Field()->setText("44");
  EXPECT_EQ(frm_effect->Effect().shadowY, 20);
  Exit();
  EXPECT_TRUE(ReadIni().contains("ShadowY=20\n")) << ReadIni().toStdString();
}

TEST_F(EffectDialog, TheEffectIsStoredAtExitAfterTheOtherSectionsAndRestored) {
  Start();
  Open();
  frm_effect->spnedt_outline->SetValue(5);
  frm_effect->lbl_outlinecolor->SetColor(Rgb(0, 0, 128));
  frm_effect->spnedt_shadowx->SetValue(2);
  frm_effect->spnedt_shadowy->SetValue(-3);
  frm_effect->spnedt_shadowblur->SetValue(4);
  const CaptionEffect effect = frm_effect->Effect();
  Exit();
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(
      ini.contains("[Effect]\nOutlineWidth=5\nOutlineColor=clNavy\nShadowX=2\n"
                   "ShadowY=-3\nShadowColor=clGray\nShadowBlur=4\nOuterOutlineWidth="
                   "0\nOuterOutlineColor=clBlack\nGradient=0\nGradientColor=clWhite\n\n[Layout]\n"))
      << ini.toStdString();
  Start();
  EXPECT_EQ(frm_effect->Effect(), effect);
  EXPECT_EQ(frm_main->CurrentStyle().effect, effect);
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(EffectDialog, ABadStoredValueIsShownOnceAndTheRestStartsAsUsual) {
  WriteIni("[Font]\nSize=31\n[Effect]\nOutlineWidth=3\nShadowX=44\nShadowY=2\n");
  Start();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0],
            "'44' は -20 から 20 の範囲にありません (" + IniPath() + " の [Effect] ShadowX)");
  EXPECT_EQ(frm_main->spn_size->Value(), 31);
  EXPECT_EQ(frm_effect->Effect().outlineWidth, 3);
  EXPECT_EQ(frm_effect->Effect().shadowY, 0) << "the keys after the bad one are not read";
}

// ---- Reached from the keyboard

void Activate(QWidget* window) {
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// Pixels of two same-sized pictures that differ strongly (over 150 of 765 in
// red + green + blue): what a user sees change.
int StrongDifferences(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      count += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) >
               150;
    }
  return count;
}

TEST_F(EffectDialog, TabWalksEveryBoxAndSwatchThenTheCloseButton) {
  Start();
  Open();
  Activate(frm_effect);
  frm_effect->spnedt_outline->setFocus();
  std::vector<QWidget*> visited;
  for (int i = 0; i < 11; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  const Tfrm_effect& d = *frm_effect;
  EXPECT_EQ(visited, (std::vector<QWidget*>{
                         d.lbl_outlinecolor, d.spnedt_outeroutline, d.lbl_outeroutlinecolor,
                         d.spnedt_shadowx, d.spnedt_shadowy, d.spnedt_shadowblur, d.lbl_shadowcolor,
                         d.cb_gradient, d.lbl_gradientcolor, d.btn_close, d.spnedt_outline}));
}

TEST_F(EffectDialog, EverySwatchOpensTheColourDialogOnSpaceAndEnter) {
  Start();
  Open();
  const std::pair<int, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Space, Qt::NoModifier},
                                                        {Qt::Key_Return, Qt::NoModifier},
                                                        {Qt::Key_Enter, Qt::KeypadModifier}};
  int answer = 0;
  for (ColorSwatch* swatch : {frm_main->lbl_textcolor, frm_main->lbl_bkcolor,
                              frm_effect->lbl_outlinecolor, frm_effect->lbl_shadowcolor}) {
    Activate(swatch->window());
    for (auto [key, modifiers] : keys) {
      swatch->setFocus();
      const QColor chosen(10 * ++answer, 128, 7);
      dialogs.colorAnswers.push_back(chosen);
      const std::size_t asked = dialogs.colorDialogStarts.size();
      QTest::keyClick(swatch, Qt::Key(key), modifiers);
      EXPECT_EQ(dialogs.colorDialogStarts.size(), asked + 1) << swatch->objectName().toStdString();
      EXPECT_EQ(swatch->Color(), FromQColor(chosen)) << swatch->objectName().toStdString();
    }
  }
  EXPECT_TRUE(frm_effect->isVisible()) << "Enter on a swatch is the swatch's, not 閉じる's";
}

// Seen on the control's own pixels, with the focus coming and going by Tab.
TEST_F(EffectDialog, FocusIsVisibleOnEverySwatchWhateverItsColourAndOnTheCloseButton) {
  Start();
  Open();
  const TColor colors[] = {kColorBlack, kColorWhite, Rgb(128, 128, 128), Rgb(0, 0, 255)};
  std::vector<std::pair<QWidget*, TColor>> cases;
  for (ColorSwatch* swatch : {frm_main->lbl_textcolor, frm_main->lbl_bkcolor,
                              frm_effect->lbl_outlinecolor, frm_effect->lbl_shadowcolor})
    for (TColor color : colors) cases.emplace_back(swatch, color);
  cases.emplace_back(frm_effect->btn_close, kColorBlack);
  for (auto [control, color] : cases) {
    if (auto* swatch = qobject_cast<ColorSwatch*>(control)) swatch->SetColor(color);
    Activate(control->window());
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Tab);
    ASSERT_FALSE(control->hasFocus());
    const QImage away = control->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(control->hasFocus());
    const QImage focused = control->grab().toImage();
    EXPECT_GE(StrongDifferences(away, focused), (control->width() + control->height()) / 2)
        << control->objectName().toStdString() << " in " << std::hex << color;
  }
}

// Typed out of range, a box shows the bound it uses once Enter (閉じる), Tab
// or the close box confirms it, also when the dialog opens again.
TEST_F(EffectDialog, AnOutOfRangeValueShowsAsTheBoundItUsesHoweverItIsConfirmed) {
  Start();
  enum Confirm { Enter, Tab, CloseBox };
  const std::tuple<SpinEdit*, const char*, Confirm, const char*> cases[] = {
      {frm_effect->spnedt_outline, "99", Enter, "20"},
      {frm_effect->spnedt_outline, "99999999999999", Tab, "20"},
      {frm_effect->spnedt_shadowx, "-99999999999999999999999", Tab, "-20"},
      {frm_effect->spnedt_shadowblur, "99", CloseBox, "10"}};
  for (auto [box, typed, confirm, shown] : cases) {
    Open();
    Activate(frm_effect);
    box->setFocus();
    box->Field()->selectAll();
    QTest::keyClicks(box, typed);
    if (confirm == CloseBox)
      frm_effect->close();
    else
      QTest::keyClick(box, confirm == Enter ? Qt::Key_Return : Qt::Key_Tab);
    EXPECT_EQ(frm_effect->isVisible(), confirm == Tab) << typed;
    Open();
    EXPECT_EQ(box->text(), shown) << typed;
  }
  Exit();
  for (const char* stored : {"OutlineWidth=20\n", "ShadowX=-20\n", "ShadowBlur=10\n"})
    EXPECT_TRUE(ReadIni().contains(stored)) << stored;
}

// Ctrl+S and Ctrl+Shift+C act on the caption while a box of the dialog has
// the focus, as they do in the main window.
TEST_F(EffectDialog, SaveAndCopyShortcutsActWhileItHasTheFocus) {
  Start();
  Type(frm_main->edt_text, "gyj 縁");
  Open();
  frm_effect->spnedt_outline->SetValue(3);
  Activate(frm_effect);
  frm_effect->spnedt_outline->setFocus();
  const QString saved = folder.filePath("bordered");
  dialogs.saveAnswers.push_back({{}, 2, saved});
  QTest::keyClick(frm_effect->spnedt_outline, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(frm_effect->spnedt_outline, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QImage file(saved + ".png");
  const Bitmap& caption = frm_main->PreviewBitmap();
  EXPECT_EQ(file.size(), QSize(caption.Width(), caption.Height()));
  EXPECT_EQ(QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png")), file);
  EXPECT_TRUE(frm_effect->isActiveWindow()) << "the dialog keeps the focus";
}

}  // namespace
}  // namespace glyphary::ui
