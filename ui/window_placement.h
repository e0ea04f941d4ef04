// Where the program's windows appear.
#pragma once

class QWidget;

namespace glyphary::ui {

// Centres a window over its owner, pulled back to non-negative screen
// coordinates. A null owner leaves it where it is.
void CenterOver(QWidget* window, const QWidget* owner);

// Whether the platform lets a program place its windows; Wayland does not,
// and reports no position either.
bool PlatformPlacesWindows();

// A main window that no screen shows (a monitor unplugged since the
// position was stored) goes to the default position on the primary screen.
void KeepReachable(QWidget* window);

// Where a dialog first appears against its owner.
enum class DialogPlace {
  CentredOver,
  // Right of the owner, else below or left of it, wherever the owner's
  // screen has room; centred over it where none has.
  Beside,
};

// A dialog shown for the first time, or where no screen shows it any more,
// is placed against its owner.
void PlaceDialog(QWidget* dialog, const QWidget* owner, bool firstShowing,
                 DialogPlace place = DialogPlace::CentredOver);

}  // namespace glyphary::ui
