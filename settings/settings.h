// Public interface of the settings file: the colour text forms, where the
// settings lie, and the INI file that keeps the window placement, caption
// style and export options from one run to the next. No GUI toolkit in here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/export.h"

namespace glyphary {

// ---------------------------------------------------------------- colour text

// A colour's name from the named-colour table, else "$" and eight upper-case
// hex digits ("$00FF8000").
std::string ColorToText(TColor color);

// Every colour form a user may type: a name in any letter case ("clRed"), an
// integer as the settings file holds it ("$00BBGGRR", "0x00BBGGRR", decimal;
// taken as its 32-bit pattern), or "#RRGGBB" (red first, as web pages write
// colours). nullopt for anything else.
std::optional<TColor> ParseColorText(std::string_view text);

// ---------------------------------------------------------------- settings file

// Whether the program's own files lie in ../share/glyphary rather than beside it.
bool IsInstalledProgram(std::string_view executablePath);

// Where the running program keeps its settings: the file beside it when that
// file exists, or when the program is not installed and its folder is
// writable (portable copies, build trees, INI files copied from Windows);
// else the user's own file, $XDG_CONFIG_HOME/glyphary/glyphary.INI.
std::string SettingsPathForExecutable();

// The main window's limits on its outer size.
inline constexpr std::int32_t kMainWindowWidth = 623;
inline constexpr std::int32_t kMainWindowMinHeight = 340, kMainWindowMaxHeight = 348;

// Where the main window stands: outer size and position in screen pixels.
struct WindowPlacement {
  std::int32_t left = 200;
  std::int32_t top = 150;
  std::int32_t width = kMainWindowWidth;
  std::int32_t height = kMainWindowMinHeight;
};

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

// The borders, shadow and fill of the caption: taken and given as a whole,
// one key's change at a time.
class EffectSettingsTarget {
 public:
  virtual ~EffectSettingsTarget() = default;
  virtual CaptionEffect Effect() const = 0;
  virtual void SetEffect(const CaptionEffect& effect) = 0;
};

// How the caption's lines are set: taken and given as a whole, one key's
// change at a time.
class LayoutSettingsTarget {
 public:
  virtual ~LayoutSettingsTarget() = default;
  virtual CaptionLayout Layout() const = 0;
  virtual void SetLayout(const CaptionLayout& layout) = 0;
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
// ShadowBlur, OuterOutlineWidth, OuterOutlineColor, Gradient (0 or 1),
// GradientColor. A missing key gives no border, shadow or fill. A colour that does not
// parse stops the load as above; so does a width, offset or blur that is no
// integer, or one outside its range: "'%s' は 0 から 20 の範囲にありません"
// followed by where it stands.
void LoadEffectSettings(const std::string& path, EffectSettingsTarget& target);
// Section Layout: Vertical (0 or 1), Align (0 start, 1 centre, 2 end: left,
// centre, right in horizontal text, top, centre, bottom in vertical text),
// LineSpacing (percent), LetterSpacing (pixels). A missing key gives the
// default; a value that is no integer or outside its range stops the load as
// in Effect.
void LoadLayoutSettings(const std::string& path, LayoutSettingsTarget& target);

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
void StoreLayoutSettings(const std::string& path, const LayoutSettingsTarget& source);

// Everything the settings file keeps, as plain values.
struct CaptionSettings {
  WindowPlacement window;
  CaptionStyle style;
  ExportOptions exportOptions;
};

// Loads every part the way the program starts: the main settings, the export
// options, the border and shadow (into style.effect), then the layout (into
// style.layout); each part loads even when one before it stopped at a bad
// value, whose Error is thrown afterwards.
void LoadCaptionSettings(const std::string& path, CaptionSettings& settings);
// Stores every part the way the program exits: export options first, then
// the main settings, the border and shadow, and the layout last.
void StoreCaptionSettings(const std::string& path, const CaptionSettings& settings);

}  // namespace glyphary
