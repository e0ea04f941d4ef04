// Public interface of the settings file: colour and integer text forms, and
// the INI file that keeps the window placement, caption style and export
// options from one run to the next. No GUI toolkit in here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "export/export.h"

namespace glyphary {

// ---------------------------------------------------------------- text forms

// Integer text as the settings file holds it: leading blanks, an optional
// sign, then decimal digits or hex digits after "$", "x", "X" or "0x"; a
// leading "0x"/"0X" (text longer than two characters) reads like "$". The
// whole text must be used. Decimal must fit in int32; hex is a 32-bit
// pattern up to $FFFFFFFF and wraps ($FFFFFFFF is -1, $80000008 reads back
// as that system colour). nullopt for anything else, empty text included.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// A colour's name from the named-colour table, else "$" and eight upper-case
// hex digits ("$00FF8000").
std::string ColorToText(TColor color);

// A colour name in any letter case, else an integer as ParseIniInteger reads
// it (taken as its 32-bit pattern); nullopt when neither.
std::optional<TColor> ParseColor(std::string_view text);

// Every colour form a user may type: what ParseColor reads, and "#RRGGBB"
// (six hex digits, red first, as web pages write colours).
std::optional<TColor> ParseColorText(std::string_view text);

// ---------------------------------------------------------------- settings file

// The executable's path with the extension of its file name replaced by
// ".INI" (appended when the name has none): /opt/app/glyphary -> glyphary.INI.
std::string SettingsPathFor(std::string_view executablePath);

// Whether the program may create and replace files in `folder`.
using FolderProbe = std::function<bool(const std::string& folder)>;
bool FolderIsWritable(const std::string& folder);

// The user's own settings file: $XDG_CONFIG_HOME/glyphary/glyphary.INI, or
// ~/.config/glyphary/glyphary.INI when that variable is unset or not an
// absolute path. Its folder is created when the settings are first stored.
std::string UserSettingsPath();

// Whether the program's own files lie in ../share/glyphary rather than beside it.
bool IsInstalledProgram(std::string_view executablePath);

// Where a program at `executablePath` keeps its settings: the file beside it
// when that file exists, or when the program is not installed and its folder
// is writable (portable copies, build trees, INI files copied from Windows);
// else the user's own file, so an installed program can store its settings.
std::string ChooseSettingsPath(std::string_view executablePath, const FolderProbe& writable);
// ChooseSettingsPath for the running program.
std::string SettingsPathForExecutable();

// Where the main window stands: outer size and position in screen pixels.
struct WindowPlacement {
  std::int32_t left = 200;
  std::int32_t top = 150;
  std::int32_t width = 623;
  std::int32_t height = 340;
};

// The main window's limits on its outer size.
inline constexpr std::int32_t kMainWindowWidth = 623;
inline constexpr std::int32_t kMainWindowMinHeight = 340, kMainWindowMaxHeight = 348;

// What the main window's settings are read from and applied to, one value at
// a time; a setter has the side effects of the same change made by the
// program on its control.
class MainSettingsTarget {
 public:
  virtual ~MainSettingsTarget() = default;
  // False where the window's position can be neither read nor set (Wayland):
  // Left and Top are then left as the file holds them.
  virtual bool PositionKnown() const { return true; }
  virtual std::int32_t Left() const = 0;
  virtual void SetLeft(std::int32_t left) = 0;
  virtual std::int32_t Top() const = 0;
  virtual void SetTop(std::int32_t top) = 0;
  virtual std::int32_t Width() const = 0;
  virtual void SetWidth(std::int32_t width) = 0;
  virtual std::int32_t Height() const = 0;
  virtual void SetHeight(std::int32_t height) = 0;
  virtual std::int32_t FontSize() const = 0;
  virtual void SetFontSize(std::int32_t points) = 0;
  virtual std::string FaceName() const = 0;
  virtual void SetFaceName(const std::string& face) = 0;
  virtual bool Bold() const = 0;
  virtual void SetBold(bool on) = 0;
  virtual bool Italic() const = 0;
  virtual void SetItalic(bool on) = 0;
  virtual bool Underline() const = 0;
  virtual void SetUnderline(bool on) = 0;
  virtual TColor TextColor() const = 0;
  virtual void SetTextColor(TColor color) = 0;
  virtual TColor BackgroundColor() const = 0;
  virtual void SetBackgroundColor(TColor color) = 0;
};

// The same for the export options of the settings dialog.
class ExportSettingsTarget {
 public:
  virtual ~ExportSettingsTarget() = default;
  virtual std::int32_t JpegQuality() const = 0;
  virtual void SetJpegQuality(std::int32_t quality) = 0;
  virtual bool PngTransparent() const = 0;
  virtual void SetPngTransparent(bool on) = 0;
  virtual bool Png256Colors() const = 0;
  virtual void SetPng256Colors(bool on) = 0;
  virtual bool PngAlpha() const = 0;
  virtual void SetPngAlpha(bool on) = 0;
};

// The border and shadow of the caption.
class EffectSettingsTarget {
 public:
  virtual ~EffectSettingsTarget() = default;
  virtual std::int32_t OutlineWidth() const = 0;
  virtual void SetOutlineWidth(std::int32_t pixels) = 0;
  virtual TColor OutlineColor() const = 0;
  virtual void SetOutlineColor(TColor color) = 0;
  virtual std::int32_t ShadowX() const = 0;
  virtual void SetShadowX(std::int32_t pixels) = 0;
  virtual std::int32_t ShadowY() const = 0;
  virtual void SetShadowY(std::int32_t pixels) = 0;
  virtual TColor ShadowColor() const = 0;
  virtual void SetShadowColor(TColor color) = 0;
  virtual std::int32_t ShadowBlur() const = 0;
  virtual void SetShadowBlur(std::int32_t pixels) = 0;
};

// Sections Window, Font and Color, key by key, each value applied before the
// next is read. A missing file or key, or an integer that does not parse,
// gives the key's default. Throws Error "'%s' は整数ではありません" for a
// colour that is neither a name nor an integer, followed by where it stands
// (" (FILE の [Color] DrawColor)"); the keys after it are not read.
void LoadMainSettings(const std::string& path, MainSettingsTarget& target);
// Sections JPEG and PNG: Rate, TransParent, 256Color, Alpha.
void LoadExportOptions(const std::string& path, ExportSettingsTarget& target);
// Section Effect: OutlineWidth, OutlineColor, ShadowX, ShadowY, ShadowColor,
// ShadowBlur. A missing key gives no border or shadow. A colour that does not
// parse stops the load as above; so does a width, offset or blur that is no
// integer, or one outside its range: "'%s' は 0 から 20 の範囲にありません"
// followed by where it stands.
void LoadEffectSettings(const std::string& path, EffectSettingsTarget& target);

// For a file the user named rather than the program's own: throws Error
// "設定ファイル %s を読み込めません (why)" when it is missing or unreadable,
// not a regular file (a folder, a FIFO, a device) or larger than 1 MiB —
// cases in which the loads above give the defaults.
void CheckSettingsFile(const std::string& path);

// Re-reads the file, updates these keys and replaces the file atomically, so
// other keys, comments and sections stay. Throws FileError "%s に書き込めません
// (reason)" (the path) when the file cannot be read or written; the old file is
// then untouched.
void StoreMainSettings(const std::string& path, const MainSettingsTarget& source);
void StoreExportOptions(const std::string& path, const ExportSettingsTarget& source);
void StoreEffectSettings(const std::string& path, const EffectSettingsTarget& source);

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
  std::int32_t OutlineWidth() const override { return effect_.outlineWidth; }
  void SetOutlineWidth(std::int32_t pixels) override { effect_.outlineWidth = pixels; }
  TColor OutlineColor() const override { return effect_.outlineColor; }
  void SetOutlineColor(TColor color) override { effect_.outlineColor = color; }
  std::int32_t ShadowX() const override { return effect_.shadowX; }
  void SetShadowX(std::int32_t pixels) override { effect_.shadowX = pixels; }
  std::int32_t ShadowY() const override { return effect_.shadowY; }
  void SetShadowY(std::int32_t pixels) override { effect_.shadowY = pixels; }
  TColor ShadowColor() const override { return effect_.shadowColor; }
  void SetShadowColor(TColor color) override { effect_.shadowColor = color; }
  std::int32_t ShadowBlur() const override { return effect_.shadowBlur; }
  void SetShadowBlur(std::int32_t pixels) override { effect_.shadowBlur = pixels; }

 private:
  CaptionEffect& effect_;
};

// Everything the settings file keeps, as plain values.
struct CaptionSettings {
  WindowPlacement window;
  CaptionStyle style;
  ExportOptions exportOptions;
};

// Loads every part the way the program starts: the main settings, the export
// options, then the border and shadow (into style.effect); each part loads
// even when one before it stopped at a bad value, whose Error is thrown
// afterwards.
void LoadCaptionSettings(const std::string& path, CaptionSettings& settings);
// Stores every part the way the program exits: export options first, the
// border and shadow last.
void StoreCaptionSettings(const std::string& path, const CaptionSettings& settings);

}  // namespace glyphary
