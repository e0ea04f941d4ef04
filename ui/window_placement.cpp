#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

#include "settings/settings.h"

namespace glyphary::ui {
namespace {

// A strip this high along the frame's top stands for the title bar, which a
// window not yet shown has no measure of; this much of it must be on a screen.
constexpr int kTitleBarHeight = 24;
constexpr int kGrabWidth = 48, kGrabHeight = 8;

// Whether enough of the title bar of a window with this frame lies on some
// screen for the user to grab it.
bool TitleBarReachable(const QRect& frame) {
  const QRect titleBar(frame.left(), frame.top(), frame.width(), kTitleBarHeight);
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
    const QRect visible = titleBar & screen->availableGeometry();
    return visible.width() >= kGrabWidth && visible.height() >= kGrabHeight;
  });
}

// The first place right of, below or left of the owner where the whole
// frame lies on the owner's screen.
std::optional<QPoint> BesideOwner(const QSize& frame, const QRect& owner) {
  constexpr int kGap = 8;
  const QScreen* screen = QGuiApplication::screenAt(owner.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect();
  const QPoint candidates[] = {
      {owner.right() + 1 + kGap, owner.top()},
      {owner.left(), owner.bottom() + 1 + kGap},
      {owner.left() - kGap - frame.width(), owner.top()},
  };
  for (const QPoint& at : candidates)
    if (room.contains(QRect(at, frame))) return at;
  return std::nullopt;
}

}  // namespace

void CenterOver(QWidget* window, const QWidget* owner) {
  if (!owner) return;
  const QRect frame = window->frameGeometry();
  QRect placed(QPoint(), frame.size());
  placed.moveCenter(owner->frameGeometry().center());
  window->move(std::max(placed.left(), 0), std::max(placed.top(), 0));
}

bool PlatformPlacesWindows() {
  return !QGuiApplication::platformName().startsWith("wayland");
}

void KeepReachable(QWidget* window) {
  if (!PlatformPlacesWindows() || TitleBarReachable(window->frameGeometry())) return;
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QPoint origin = primary ? primary->availableGeometry().topLeft() : QPoint();
  const WindowPlacement fallback;
  window->move(origin + QPoint(fallback.left, fallback.top));
}

void PlaceDialog(QWidget* dialog, const QWidget* owner, bool firstShowing, DialogPlace place) {
  if (!PlatformPlacesWindows() || !owner) return;
  if (!firstShowing && TitleBarReachable(dialog->frameGeometry())) return;
  const QRect ownerFrame = owner->frameGeometry();
  const auto beside = place == DialogPlace::Beside
                          ? BesideOwner(dialog->frameGeometry().size(), ownerFrame)
                          : std::nullopt;
  if (beside)
    dialog->move(*beside);
  else
    CenterOver(dialog, owner);
}

}  // namespace glyphary::ui
