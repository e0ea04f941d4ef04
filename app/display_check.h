// Reaching the display. Qt aborts where it cannot, after messages of its own
// and of the window system's libraries; the program says so in one line
// and exits with status 1 instead.
#pragma once

namespace glyphary::app {

// The line for a missing or unreachable display, with what was tried.
void ReportNoDisplay(const char* why);

// Whether a display is named at all (a variable the platform reads).
bool DisplayNamed();

// While it lives, the application object is being made: what is written to
// standard error waits, and a fatal message from Qt becomes our line and
// status 1. Once the object is made, the waiting output follows as it came.
class DisplayCheck {
 public:
  DisplayCheck();
  ~DisplayCheck();
  DisplayCheck(const DisplayCheck&) = delete;
  DisplayCheck& operator=(const DisplayCheck&) = delete;
};

}  // namespace glyphary::app
