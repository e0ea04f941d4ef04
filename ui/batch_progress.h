// How far a long batch run has come. It appears only once the run has taken
// a moment; from then on it is application-modal, so every window keeps
// painting while no window takes input and nothing can start a second run.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>

#include <chrono>
#include <cstddef>
#include <memory>

namespace glyphary::ui {

class BatchProgress {
 public:
  static constexpr std::chrono::milliseconds kDefaultDelay{400};

  explicit BatchProgress(QWidget* owner, std::chrono::milliseconds delay = kDefaultDelay);
  ~BatchProgress();
  BatchProgress(const BatchProgress&) = delete;
  BatchProgress& operator=(const BatchProgress&) = delete;

  // After each written file: shows the window once the delay has passed,
  // updates it and lets the program paint.
  void Report(std::size_t done, std::size_t total);

  // The window, once it has appeared.
  QProgressDialog* Window() const { return window_.get(); }

 private:
  QWidget* owner_;
  std::chrono::milliseconds delay_;
  QElapsedTimer clock_;
  std::unique_ptr<QProgressDialog> window_;
};

}  // namespace glyphary::ui
