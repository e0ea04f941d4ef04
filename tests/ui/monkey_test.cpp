// Seeded random keys, text and clicks on the real windows. Every question
// is answered through the dialogs' seam, every file lands in a temporary
// folder, and afterwards the windows must still do what a user asks.
// GLYPHARY_MONKEY_SEED=n replays one seed.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "ui/color_swatch.h"
#include "ui/effect_dialog.h"
#include "ui/layout_dialog.h"
#include "ui/production_dialog.h"
#include "user_input.h"

namespace glyphary::ui {
namespace {

constexpr int kEvents = 1000;
constexpr std::uint32_t kSeeds[] = {20261208, 7, 1337};

// Pieces of text a user types: Latin, Japanese, full-width digits, marks,
// spaces, characters that are forbidden in names, line breaks and control keys.
const char* const kPieces[] = {"a", "Ab", "gy", " ",  "日本", "字幕", "６０",   "Égypte",
                               "/", ":",  "?",  "|",  "\\",   "*",    "1",      "-",
                               "Ấ", "ที่",  "ｱｲ", "..", "0",    "↵",    "「縦」", "、。"};

class Monkey {
 public:
  Monkey(std::uint32_t seed, ScriptedDialogs& dialogs, const QString& folder)
      : random_(seed), dialogs_(dialogs), folder_(folder) {}

  void Act() {
    switch (Below(10)) {
      case 0:
      case 1:
      case 2:
        TypeInto(SomeOf<QLineEdit>());
        break;
      case 3:
      case 4:
        Click(SomeOf<QAbstractButton>());
        break;
      case 5:
        PressKey();
        break;
      case 6:
        TriggerCommand();
        break;
      case 7:
        ClickTab();
        break;
      case 8:
        ClickSwatch();
        break;
      default:
        TypeInto(frm_main->edt_text);
        break;
    }
    QCoreApplication::processEvents();
  }

 private:
  int Below(int n) { return int(random_() % std::uint32_t(n)); }

  // The windows the user can reach: the main window and the shown dialogs.
  std::vector<QWidget*> Windows() const {
    std::vector<QWidget*> windows{frm_main};
    for (QWidget* dialog :
         {static_cast<QWidget*>(frm_setting), static_cast<QWidget*>(frm_production),
          static_cast<QWidget*>(frm_effect), static_cast<QWidget*>(frm_layout)})
      if (dialog->isVisible()) windows.push_back(dialog);
    return windows;
  }

  // A visible, enabled widget of that kind in a reachable window. The batch
  // folder is left alone, so that nothing is written outside the test's folder.
  template <typename T>
  T* SomeOf() {
    std::vector<T*> found;
    for (QWidget* window : Windows())
      for (T* w : window->findChildren<T*>())
        if (w->isVisible() && w->isEnabled() &&
            static_cast<QWidget*>(w) != frm_production->edt_saveplace)
          found.push_back(w);
    return found.empty() ? nullptr : found[std::size_t(Below(int(found.size())))];
  }

  QString SomeText() {
    QString text;
    for (int n = 1 + Below(3); n > 0; --n)
      text += QString::fromUtf8(kPieces[Below(int(std::size(kPieces)))]);
    return text;
  }

  void TypeInto(QLineEdit* box) {
    if (!box) return;
    // The size box takes short numbers: the monkey plays, it does not time huge captions.
    if (box->parentWidget() == frm_main->spn_size) {
      box->setText(QString::number(Below(80) - 5));
      return;
    }
    if (Below(4) == 0) box->clear();
    if (box->text().size() > 40) box->clear();
    Type(box, SomeText());
  }

  void Click(QAbstractButton* button) {
    if (!button) return;
    // The folder browser would write the desktop's folder; it gets cancelled
    // all the same, but the monkey stays out of it.
    if (button == frm_production->Button2) return;
    AnswerSaveDialog();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }

  void PressKey() {
    const Qt::Key keys[] = {Qt::Key_Tab,    Qt::Key_Backspace, Qt::Key_Up,    Qt::Key_Down,
                            Qt::Key_Return, Qt::Key_Escape,    Qt::Key_Left,  Qt::Key_Delete,
                            Qt::Key_S,      Qt::Key_M,         Qt::Key_Enter, Qt::Key_Space};
    const Qt::Key key = keys[Below(int(std::size(keys)))];
    // Ctrl+Enter types a line break into a caption box.
    const bool control = key == Qt::Key_S || key == Qt::Key_M || key == Qt::Key_Enter;
    if (key == Qt::Key_S) AnswerSaveDialog();
    QWidget* target = QApplication::focusWidget();
    if (!target || target == frm_production->edt_saveplace) target = frm_main->edt_text;
    QTest::keyClick(target, key, control ? Qt::ControlModifier : Qt::NoModifier);
  }

  // Every command of the menu but Exit, which would end the program.
  void TriggerCommand() {
    const char* const commands[] = {
        "SaveAs1",          "N4",     "JPEG1",   "N2",      "Inkwright1",
        "TarventSoftware1", "About1", "Effect1", "Layout1", "Vertical1"};
    const char* name = commands[Below(int(std::size(commands)))];
    if (std::string(name) == "SaveAs1") AnswerSaveDialog();
    frm_main->findChild<QAction*>(name)->trigger();
  }

  void ClickTab() {
    if (!frm_production->isVisible()) return;
    QTabBar* tabs = frm_production->PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(Below(tabs->count())).center());
  }

  void ClickSwatch() {
    ColorSwatch* const swatches[] = {frm_main->lbl_textcolor, frm_main->lbl_bkcolor,
                                     frm_effect->lbl_outlinecolor, frm_effect->lbl_shadowcolor};
    ColorSwatch* swatch = swatches[Below(int(std::size(swatches)))];
    dialogs_.colorAnswers.push_back(Below(3) == 0 ? QColor()
                                                  : QColor(Below(256), Below(256), Below(256)));
    QTest::mouseClick(swatch, Qt::LeftButton);
  }

  // Save As goes to the test's folder, or is cancelled; a replace is
  // confirmed or not at random.
  void AnswerSaveDialog() {
    dialogs_.saveAnswers.clear();
    dialogs_.warningAnswers.clear();
    if (Below(3) == 0) return;
    dialogs_.saveAnswers.push_back(
        {{}, 1 + Below(3), folder_ + "/saved" + QString::number(Below(4))});
    dialogs_.warningAnswers.push_back(Below(2) == 0);
  }

  std::mt19937 random_;
  ScriptedDialogs& dialogs_;
  QString folder_;
};

// Closes whatever modal window opens meanwhile (the About box), as its
// close box would.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    timer_.start();
  }

 private:
  QTimer timer_;
};

std::vector<std::uint32_t> Seeds() {
  if (const char* seed = std::getenv("GLYPHARY_MONKEY_SEED"))
    return {std::uint32_t(std::strtoul(seed, nullptr, 10))};
  return {std::begin(kSeeds), std::end(kSeeds)};
}

using MonkeyTest = ProgramTest;

TEST_F(MonkeyTest, RandomUseLeavesEveryWindowUsable) {
  for (const std::uint32_t seed : Seeds()) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " (GLYPHARY_MONKEY_SEED to replay)");
    const QString out = folder.filePath(QString("out%1").arg(seed));
    ASSERT_TRUE(QDir().mkpath(out));
    Start();
    frm_production->edt_saveplace->setText(out);
    {
      ModalCloser closer;
      Monkey monkey(seed, dialogs, out);
      for (int i = 0; i < kEvents; ++i) monkey.Act();
    }
    std::printf("monkey seed %u: %d events, %d renders, %zu messages, %lld files\n", seed, kEvents,
                Renders(), dialogs.errors.size() + dialogs.informations.size(),
                static_cast<long long>(QDir(out).entryList(QDir::Files).size()));

    // Still usable: no modal window left, a typed text renders, the batch
    // dialog writes, and the settings are stored on the way out.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(frm_main->isVisible());
    frm_main->spn_size->SetValue(20);
    const int before = Renders();
    frm_main->edt_text->setText("使える usable");
    EXPECT_GT(Renders(), before);
    EXPECT_FALSE(frm_main->PreviewBitmap().Empty());
    frm_main->findChild<QAction*>("N4")->trigger();
    ASSERT_TRUE(frm_production->isVisible());
    for (int row = 1; row <= 10; ++row) {
      frm_production->findChild<QLineEdit*>(QString("edt_text%1").arg(row))->clear();
      frm_production->findChild<QLineEdit*>(QString("edt_file%1").arg(row))->clear();
    }
    frm_production->findChild<QLineEdit*>("edt_text1")->setText("最後");
    frm_production->findChild<QLineEdit*>("edt_file1")->setText("last");
    dialogs.errors.clear();
    QTest::mouseClick(frm_production->Button6, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front().toStdString();
    EXPECT_TRUE(QDir(out).entryList(QStringList{"last.*"}, QDir::Files).size() == 1);
    Exit();
    EXPECT_TRUE(ReadIni().contains("[Font]"));
    QFile::remove(IniPath());
  }
}

}  // namespace
}  // namespace glyphary::ui
