#include "ui/batch_progress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace glyphary::ui {
namespace {

// The run cannot be interrupted: neither Escape nor the close box ends it.
class UnclosableProgress final : public QProgressDialog {
 public:
  explicit UnclosableProgress(QWidget* owner) : QProgressDialog(owner) {
    setWindowTitle("大量生産");
    setLabelText("画像を保存しています");
    setCancelButton(nullptr);
    setWindowModality(Qt::ApplicationModal);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

BatchProgress::BatchProgress(QWidget* owner, std::chrono::milliseconds delay)
    : owner_(owner), delay_(delay) {
  clock_.start();
}

BatchProgress::~BatchProgress() = default;

void BatchProgress::Report(std::size_t done, std::size_t total) {
  if (!window_) {
    if (done >= total || clock_.elapsed() < delay_.count()) return;
    window_ = std::make_unique<UnclosableProgress>(owner_);
    window_->setRange(0, int(total));
    window_->show();
  }
  window_->setValue(int(done));
  // Only now that the modal window blocks input elsewhere are events let through.
  QApplication::processEvents();
}

}  // namespace glyphary::ui
