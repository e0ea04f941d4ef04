#include "ui/settings_dialog.h"

#include <QKeyEvent>

#include "settings/settings.h"
#include "ui/dialogs.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/forms.h"
#include "ui/png_options.h"

using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::kAlphaCaption;
using glyphary::ui::Kind;

namespace {

constexpr Component kComponents[] = {
    {"PageControl1", Kind::PageControl, nullptr, 8, 8, 409, 297, "", 0},
    {"TabSheet1", Kind::Page, "PageControl1", 0, 0, 0, 0, "保存"},
    {"gb_jpeg", Kind::GroupBox, "TabSheet1", 24, 32, 345, 65, "JPEG", 0},
    {"Label5", Kind::Label, "gb_jpeg", 16, 28, 126, 12, "圧縮率(高いほど高画質)"},
    {"spnedt_jpeg", Kind::SpinEdit, "gb_jpeg", 152, 24, 49, 21, "", 0},
    {"gb_png", Kind::GroupBox, "TabSheet1", 24, 120, 345, 81, "PNG", 1},
    {"cb_transparent", Kind::CheckBox, "gb_png", 16, 16, 209, 17, "背景を透過する", 0},
    {"cb_256", Kind::CheckBox, "gb_png", 16, 40, 217, 17, "256色(8bit)", 1},
    {"Button1", Kind::Button, "gb_png", 232, 56, 97, 17, "PNGについて", 2},
    {"cb_alpha", Kind::CheckBox, "gb_png", 16, 60, 209, 17, kAlphaCaption, 3},
    {"Button3", Kind::Button, nullptr, 248, 312, 81, 25, "OK", 2},
    {"Button2", Kind::Button, nullptr, 336, 312, 81, 25, "キャンセル", 1},
};

// Outer 434 x 374 with a sizeable frame and no menu.
constexpr QSize kClientSize(426, 345);

// The dialog's controls as the settings file reads and writes them.
class DialogOptions final : public glyphary::ExportSettingsTarget {
 public:
  explicit DialogOptions(Tfrm_setting& dialog) : dialog_(dialog) {}
  std::int32_t JpegQuality() const override { return dialog_.spnedt_jpeg->Value(); }
  void SetJpegQuality(std::int32_t quality) override { dialog_.spnedt_jpeg->SetValue(quality); }
  bool PngTransparent() const override { return dialog_.cb_transparent->isChecked(); }
  void SetPngTransparent(bool on) override { dialog_.cb_transparent->setChecked(on); }
  bool Png256Colors() const override { return dialog_.cb_256->isChecked(); }
  void SetPng256Colors(bool on) override { dialog_.cb_256->setChecked(on); }
  bool PngAlpha() const override { return dialog_.cb_alpha->isChecked(); }
  void SetPngAlpha(bool on) override { dialog_.cb_alpha->setChecked(on); }

 private:
  Tfrm_setting& dialog_;
};

}  // namespace

Tfrm_setting::Tfrm_setting(QWidget* parent) : glyphary::ui::FormDialog(parent) {
  setObjectName("frm_setting");
  setWindowTitle("設定");
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  resize(kClientSize);
  glyphary::ui::BuildComponents(this, kComponents);
  glyphary::ui::ApplyTabOrder(this, kComponents);
  spnedt_jpeg = Child<glyphary::ui::SpinEdit>(this, "spnedt_jpeg");
  spnedt_jpeg->SetBounds(glyphary::kMinJpegQuality, glyphary::kMaxJpegQuality);
  cb_transparent = Child<QCheckBox>(this, "cb_transparent");
  cb_256 = Child<QCheckBox>(this, "cb_256");
  cb_alpha = Child<QCheckBox>(this, "cb_alpha");
  const glyphary::ExportOptions defaults;
  spnedt_jpeg->SetValue(defaults.jpegQuality);
  cb_transparent->setChecked(defaults.pngTransparent);
  cb_256->setChecked(defaults.png256Colors);
  cb_alpha->setChecked(defaults.pngAlpha);
  Button3 = Child<QPushButton>(this, "Button3");
  Button2 = Child<QPushButton>(this, "Button2");
  Button1 = Child<QPushButton>(this, "Button1");
  Button3->setDefault(true);
  using glyphary::ui::ConnectHandler;
  // Whoever changes the tick, the program or the user.
  ConnectHandler(cb_transparent, &QCheckBox::toggled, this, &Tfrm_setting::cb_transparentClick);
  ConnectHandler(cb_alpha, &QCheckBox::toggled, this, &Tfrm_setting::cb_alphaClick);
  ConnectHandler(Button1, &QPushButton::clicked, this, &Tfrm_setting::Button1Click);
  ConnectHandler(Button3, &QPushButton::clicked, this, &Tfrm_setting::Button3Click);
  ConnectHandler(Button2, &QPushButton::clicked, this, &Tfrm_setting::Button2Click);
}

void Tfrm_setting::FormCreate() {
  DialogOptions options(*this);
  glyphary::LoadExportOptions(glyphary::ui::SettingsFileName(), options);
}

void Tfrm_setting::FormDestroy() {
  DialogOptions options(*this);
  glyphary::StoreExportOptions(glyphary::ui::SettingsFileName(), options);
}

glyphary::ExportOptions Tfrm_setting::Options() const {
  return {spnedt_jpeg->Value(), cb_transparent->isChecked(), cb_256->isChecked(),
          cb_alpha->isChecked()};
}

void Tfrm_setting::SetTransparent(bool on) {
  cb_transparent->setChecked(on);
}

void Tfrm_setting::cb_transparentClick() {
  cb_256->setChecked(cb_transparent->isChecked());
}

void Tfrm_setting::cb_alphaClick() {
  glyphary::ui::GreyOutColourKey(cb_alpha, cb_transparent, cb_256);
}

void Tfrm_setting::Button1Click() {
  glyphary::ui::ExplainPngOptions(this);
}

void Tfrm_setting::Button3Click() {
  hide();
}

void Tfrm_setting::Button2Click() {
  hide();
}
