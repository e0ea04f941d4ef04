#include "ui/main_window_settings.h"

#include <QSignalBlocker>

#include <algorithm>

#include "ui/main_window.h"
#include "ui/window_placement.h"

namespace glyphary::ui {

bool MainWindowSettings::PositionKnown() const {
  return PlatformPlacesWindows();
}

std::int32_t MainWindowSettings::Left() const {
  return window_.frameGeometry().x();
}

void MainWindowSettings::SetLeft(std::int32_t left) {
  window_.move(left, window_.frameGeometry().y());
}

std::int32_t MainWindowSettings::Top() const {
  return window_.frameGeometry().y();
}

void MainWindowSettings::SetTop(std::int32_t top) {
  window_.move(window_.frameGeometry().x(), top);
}

std::int32_t MainWindowSettings::Width() const {
  return window_.ClientSize().width() + kFrameWidth;
}

// The window's width is fixed, whatever the file says.
void MainWindowSettings::SetWidth(std::int32_t) {
  window_.SetClientSize({kMainWindowWidth - kFrameWidth, window_.ClientSize().height()});
}

std::int32_t MainWindowSettings::Height() const {
  return window_.ClientSize().height() + kFrameHeight;
}

void MainWindowSettings::SetHeight(std::int32_t height) {
  const int outer = std::clamp(height, kMainWindowMinHeight, kMainWindowMaxHeight);
  window_.SetClientSize({window_.ClientSize().width(), outer - kFrameHeight});
}

std::int32_t MainWindowSettings::FontSize() const {
  return window_.spn_size->Value();
}

// A differing size changes the box and so renders, as typing it would; a
// rendering that fails is shown and the load goes on.
void MainWindowSettings::SetFontSize(std::int32_t points) {
  window_.spn_size->SetValue(points);
}

std::string MainWindowSettings::FaceName() const {
  return window_.ComboBox->currentText().toStdString();
}

// Set by the program: no rendering.
void MainWindowSettings::SetFaceName(const std::string& face) {
  const QSignalBlocker quiet(window_.ComboBox);
  window_.ComboBox->setEditText(QString::fromStdString(face));
}

bool MainWindowSettings::Bold() const {
  return window_.spd_bold->isChecked();
}

void MainWindowSettings::SetBold(bool on) {
  window_.SetStyleButton(window_.spd_bold, on);
}

bool MainWindowSettings::Italic() const {
  return window_.spd_italic->isChecked();
}

void MainWindowSettings::SetItalic(bool on) {
  window_.SetStyleButton(window_.spd_italic, on);
}

bool MainWindowSettings::Underline() const {
  return window_.spd_underline->isChecked();
}

void MainWindowSettings::SetUnderline(bool on) {
  window_.SetStyleButton(window_.spd_underline, on);
}

TColor MainWindowSettings::TextColor() const {
  return window_.lbl_textcolor->Color();
}

void MainWindowSettings::SetTextColor(TColor color) {
  window_.lbl_textcolor->SetColor(color);
}

TColor MainWindowSettings::BackgroundColor() const {
  return window_.lbl_bkcolor->Color();
}

void MainWindowSettings::SetBackgroundColor(TColor color) {
  window_.lbl_bkcolor->SetColor(color);
}

}  // namespace glyphary::ui
