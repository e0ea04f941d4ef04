// The main window's controls as the settings file reads and writes them.
#pragma once

#include "settings/settings.h"

class Tfrm_main;

namespace glyphary::ui {

// Outer sizes as the settings file keeps them (a Windows frame around the
// client area), so files move between systems unchanged.
inline constexpr int kFrameWidth = 8, kFrameHeight = 39;

class MainWindowSettings final : public MainSettingsTarget {
 public:
  explicit MainWindowSettings(Tfrm_main& window) : window_(window) {}

  bool PositionKnown() const override;
  std::int32_t Left() const override;
  void SetLeft(std::int32_t left) override;
  std::int32_t Top() const override;
  void SetTop(std::int32_t top) override;
  std::int32_t Width() const override;
  void SetWidth(std::int32_t width) override;
  std::int32_t Height() const override;
  void SetHeight(std::int32_t height) override;
  std::int32_t FontSize() const override;
  void SetFontSize(std::int32_t points) override;
  std::string FaceName() const override;
  void SetFaceName(const std::string& face) override;
  bool Bold() const override;
  void SetBold(bool on) override;
  bool Italic() const override;
  void SetItalic(bool on) override;
  bool Underline() const override;
  void SetUnderline(bool on) override;
  TColor TextColor() const override;
  void SetTextColor(TColor color) override;
  TColor BackgroundColor() const override;
  void SetBackgroundColor(TColor color) override;

 private:
  Tfrm_main& window_;
};

}  // namespace glyphary::ui
