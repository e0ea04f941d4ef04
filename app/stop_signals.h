// Ending the program from outside as its menu ends it: SIGTERM, SIGHUP and
// SIGINT quit the event loop, so that the windows store the settings on the
// way out. A signal the program was started with ignored (nohup) stays so.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace glyphary::app {

// Call before anything else: a signal that arrives before the event loop
// runs waits for it instead of ending the program at once.
void CatchStopSignals();

// Quits the application's event loop for each caught signal; made once the
// application exists.
class StopSignalWatcher final : public QObject {
  Q_OBJECT

 public:
  explicit StopSignalWatcher(QObject* parent = nullptr);

 private:
  void Drain();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace glyphary::app
