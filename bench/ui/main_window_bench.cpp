// The real main window, offscreen: one keystroke in the text box until the
// preview has been repainted, and the time from start to a shown window.
#include <benchmark/benchmark.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/forms_lifecycle.h"
#include "render/render.h"
#include "ui/forms.h"
#include "ui/main_window.h"

namespace {

// 22 characters; the keystroke adds the 23rd and the next one takes it away.
const char kCaption[] = "日本語のCaptionテスト 2026年版!";

void Press(QWidget* widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

void KeystrokeToPreview(benchmark::State& state) {
  frm_main->spn_size->SetValue(int(state.range(0)));
  frm_main->edt_text->setText(QString::fromUtf8(kCaption));
  frm_main->edt_text->end(false);
  bool add = true;
  for (auto _ : state) {
    if (add)
      Press(frm_main->edt_text, Qt::Key_Exclam, "!");
    else
      Press(frm_main->edt_text, Qt::Key_Backspace, "");
    add = !add;
  }
  state.counters["width"] = frm_main->PreviewBitmap().Width();
}
BENCHMARK(KeystrokeToPreview)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// The rendering alone, the same two texts in turn, for comparison.
void RenderOnly(benchmark::State& state) {
  glyphary::CaptionStyle style;
  style.pointSize = int(state.range(0));
  const std::string texts[] = {std::string(kCaption) + "!", kCaption};
  int next = 0;
  for (auto _ : state) {
    glyphary::Bitmap bitmap;
    glyphary::RenderCaption(bitmap, texts[next ^= 1], style, frm_main->Engine());
    benchmark::DoNotOptimize(bitmap.Bits());
  }
}
BENCHMARK(RenderOnly)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// Painting the preview alone, with a caption that fills it.
void PreviewRepaintOnly(benchmark::State& state) {
  frm_main->spn_size->SetValue(40);
  frm_main->edt_text->setText(QString::fromUtf8(kCaption));
  for (auto _ : state) frm_main->Image1->repaint();
}
BENCHMARK(PreviewRepaintOnly)->Unit(benchmark::kMillisecond);

// The text box's own work for a keystroke, without the preview.
void KeystrokeWithoutPreview(benchmark::State& state) {
  QLineEdit edit(QString::fromUtf8(kCaption), frm_main->centralWidget());
  edit.setGeometry(frm_main->edt_text->geometry());
  edit.show();
  bool add = true;
  for (auto _ : state) {
    if (add)
      Press(&edit, Qt::Key_Exclam, "!");
    else
      Press(&edit, Qt::Key_Backspace, "");
    add = !add;
  }
}
BENCHMARK(KeystrokeWithoutPreview)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  glyphary::InitializeFonts();
  glyphary::app::Application app(argc, argv);
  QTemporaryDir folder;
  glyphary::ui::SetSettingsPath(folder.filePath("glyphary.INI"));
  glyphary::app::CreateForms();
  while (!frm_main->windowHandle() || !frm_main->windowHandle()->isExposed())
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  const std::chrono::duration<double, std::milli> startUp =
      std::chrono::steady_clock::now() - start;
  std::printf("start-up to a shown main window: %.1f ms\n", startUp.count());

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  glyphary::app::DestroyForms();
  return 0;
}
