// Settings targets over plain values, which LoadCaptionSettings and
// StoreCaptionSettings fill and read part by part.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace glyphary {

// Targets over plain values, with the main window's and the settings
// dialog's side effects: the window size limits, the quality clamp and the
// coupling of the two PNG flags.
class PlainMainSettings final : public MainSettingsTarget {
 public:
  PlainMainSettings(WindowPlacement& window, CaptionStyle& style)
      : window_(window), style_(style) {}
  std::int32_t Left() const override { return window_.left; }
  void SetLeft(std::int32_t left) override { window_.left = left; }
  std::int32_t Top() const override { return window_.top; }
  void SetTop(std::int32_t top) override { window_.top = top; }
  std::int32_t Width() const override { return window_.width; }
  void SetWidth(std::int32_t width) override;
  std::int32_t Height() const override { return window_.height; }
  void SetHeight(std::int32_t height) override;
  std::int32_t FontSize() const override { return style_.pointSize; }
  void SetFontSize(std::int32_t points) override { style_.pointSize = points; }
  std::string FaceName() const override { return style_.faceName; }
  void SetFaceName(const std::string& face) override { style_.faceName = face; }
  bool Bold() const override { return style_.bold; }
  void SetBold(bool on) override { style_.bold = on; }
  bool Italic() const override { return style_.italic; }
  void SetItalic(bool on) override { style_.italic = on; }
  bool Underline() const override { return style_.underline; }
  void SetUnderline(bool on) override { style_.underline = on; }
  TColor TextColor() const override { return style_.textColor; }
  void SetTextColor(TColor color) override { style_.textColor = color; }
  TColor BackgroundColor() const override { return style_.backgroundColor; }
  void SetBackgroundColor(TColor color) override { style_.backgroundColor = color; }

 private:
  WindowPlacement& window_;
  CaptionStyle& style_;
};

class PlainExportSettings final : public ExportSettingsTarget {
 public:
  explicit PlainExportSettings(ExportOptions& options) : options_(options) {}
  std::int32_t JpegQuality() const override { return options_.jpegQuality; }
  void SetJpegQuality(std::int32_t quality) override;
  bool PngTransparent() const override { return options_.pngTransparent; }
  void SetPngTransparent(bool on) override;
  bool Png256Colors() const override { return options_.png256Colors; }
  void SetPng256Colors(bool on) override { options_.png256Colors = on; }
  bool PngAlpha() const override { return options_.pngAlpha; }
  void SetPngAlpha(bool on) override { options_.pngAlpha = on; }

 private:
  ExportOptions& options_;
};

class PlainEffectSettings final : public EffectSettingsTarget {
 public:
  explicit PlainEffectSettings(CaptionEffect& effect) : effect_(effect) {}
  CaptionEffect Effect() const override { return effect_; }
  void SetEffect(const CaptionEffect& effect) override { effect_ = effect; }

 private:
  CaptionEffect& effect_;
};

class PlainLayoutSettings final : public LayoutSettingsTarget {
 public:
  explicit PlainLayoutSettings(CaptionLayout& layout) : layout_(layout) {}
  CaptionLayout Layout() const override { return layout_; }
  void SetLayout(const CaptionLayout& layout) override { layout_ = layout; }

 private:
  CaptionLayout& layout_;
};

}  // namespace glyphary
