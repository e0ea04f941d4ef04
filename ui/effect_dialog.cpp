#include "ui/effect_dialog.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "settings/settings.h"
#include "ui/error_display.h"
#include "ui/form_builder.h"
#include "ui/forms.h"

using glyphary::TColor;
using glyphary::ui::Child;
using glyphary::ui::Component;
using glyphary::ui::Kind;
using glyphary::ui::SpinEdit;

namespace {

constexpr Component kComponents[] = {
    {"gb_outline", Kind::GroupBox, nullptr, 8, 8, 281, 57, "縁取り", 0},
    {"Label1", Kind::Label, "gb_outline", 16, 28, 60, 12, "太さ(px)"},
    {"spnedt_outline", Kind::SpinEdit, "gb_outline", 80, 24, 49, 21, "", 0},
    {"Label2", Kind::Label, "gb_outline", 152, 28, 20, 12, "色"},
    {"lbl_outlinecolor", Kind::ColorSwatch, "gb_outline", 176, 24, 41, 21, "", 1},
    {"gb_outeroutline", Kind::GroupBox, nullptr, 8, 72, 281, 57, "外側の縁取り", 1},
    {"Label8", Kind::Label, "gb_outeroutline", 16, 28, 60, 12, "太さ(px)"},
    {"spnedt_outeroutline", Kind::SpinEdit, "gb_outeroutline", 80, 24, 49, 21, "", 0},
    {"Label9", Kind::Label, "gb_outeroutline", 152, 28, 20, 12, "色"},
    {"lbl_outeroutlinecolor", Kind::ColorSwatch, "gb_outeroutline", 176, 24, 41, 21, "", 1},
    {"gb_shadow", Kind::GroupBox, nullptr, 8, 136, 281, 113, "影", 2},
    {"Label3", Kind::Label, "gb_shadow", 16, 28, 60, 12, "横(px)"},
    {"spnedt_shadowx", Kind::SpinEdit, "gb_shadow", 80, 24, 49, 21, "", 0},
    {"Label4", Kind::Label, "gb_shadow", 152, 28, 20, 12, "縦"},
    {"spnedt_shadowy", Kind::SpinEdit, "gb_shadow", 176, 24, 49, 21, "", 1},
    {"Label5", Kind::Label, "gb_shadow", 16, 56, 60, 12, "ぼかし(px)"},
    {"spnedt_shadowblur", Kind::SpinEdit, "gb_shadow", 80, 52, 49, 21, "", 2},
    {"Label6", Kind::Label, "gb_shadow", 152, 56, 20, 12, "色"},
    {"lbl_shadowcolor", Kind::ColorSwatch, "gb_shadow", 176, 52, 41, 21, "", 3},
    {"Label7", Kind::Label, "gb_shadow", 16, 84, 257, 12, "横も縦も 0 のときは影を付けません"},
    {"gb_gradient", Kind::GroupBox, nullptr, 8, 256, 281, 57, "グラデーション", 3},
    {"cb_gradient", Kind::CheckBox, "gb_gradient", 16, 26, 121, 17, "下へ色を変える", 0},
    {"Label10", Kind::Label, "gb_gradient", 152, 28, 20, 12, "色"},
    {"lbl_gradientcolor", Kind::ColorSwatch, "gb_gradient", 176, 24, 41, 21, "", 1},
    {"btn_close", Kind::Button, nullptr, 208, 320, 81, 25, "閉じる", 4},
};

constexpr QSize kClientSize(297, 353);

// The dialog's controls as the settings file reads and writes them.
class DialogEffect final : public glyphary::EffectSettingsTarget {
 public:
  explicit DialogEffect(Tfrm_effect& dialog) : d_(dialog) {}
  glyphary::CaptionEffect Effect() const override { return d_.Effect(); }
  void SetEffect(const glyphary::CaptionEffect& effect) override { d_.ShowEffect(effect); }

 private:
  Tfrm_effect& d_;
};

}  // namespace

Tfrm_effect::Tfrm_effect(QWidget* parent) : glyphary::ui::FormDialog(parent) {
  BuildBesideParent("frm_effect", "縁取りと影", kClientSize, kComponents);
  spnedt_outline = BoundedSpin("spnedt_outline", 0, glyphary::kMaxOutlineWidth);
  spnedt_shadowx =
      BoundedSpin("spnedt_shadowx", -glyphary::kMaxShadowOffset, glyphary::kMaxShadowOffset);
  spnedt_shadowy =
      BoundedSpin("spnedt_shadowy", -glyphary::kMaxShadowOffset, glyphary::kMaxShadowOffset);
  spnedt_shadowblur = BoundedSpin("spnedt_shadowblur", 0, glyphary::kMaxShadowBlur);
  spnedt_outeroutline = BoundedSpin("spnedt_outeroutline", 0, glyphary::kMaxOutlineWidth);
  lbl_outlinecolor = Child<glyphary::ui::ColorSwatch>(this, "lbl_outlinecolor");
  lbl_shadowcolor = Child<glyphary::ui::ColorSwatch>(this, "lbl_shadowcolor");
  lbl_outeroutlinecolor = Child<glyphary::ui::ColorSwatch>(this, "lbl_outeroutlinecolor");
  lbl_gradientcolor = Child<glyphary::ui::ColorSwatch>(this, "lbl_gradientcolor");
  cb_gradient = Child<QCheckBox>(this, "cb_gradient");
  ShowEffect(glyphary::CaptionEffect{});
  btn_close = Child<QPushButton>(this, "btn_close");
  btn_close->setDefault(true);
  using glyphary::ui::ConnectHandler;
  for (SpinEdit* spin :
       {spnedt_outline, spnedt_outeroutline, spnedt_shadowx, spnedt_shadowy, spnedt_shadowblur})
    ConnectHandler(spin, &SpinEdit::Changed, this, &Tfrm_effect::EffectChange);
  ConnectHandler(cb_gradient, &QCheckBox::toggled, this, &Tfrm_effect::EffectChange);
  ConnectHandler(lbl_outlinecolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_effect::lbl_outlinecolorClick);
  ConnectHandler(lbl_outeroutlinecolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_effect::lbl_outeroutlinecolorClick);
  ConnectHandler(lbl_shadowcolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_effect::lbl_shadowcolorClick);
  ConnectHandler(lbl_gradientcolor, &glyphary::ui::ColorSwatch::Clicked, this,
                 &Tfrm_effect::lbl_gradientcolorClick);
  ConnectHandler(btn_close, &QPushButton::clicked, this, &Tfrm_effect::btn_closeClick);
}

// The text is still empty, which no border or shadow changes: the preview
// stays as the main window left it.
void Tfrm_effect::FormCreate() {
  DialogEffect effect(*this);
  const QSignalBlocker quietOutline(spnedt_outline), quietOuter(spnedt_outeroutline),
      quietX(spnedt_shadowx), quietY(spnedt_shadowy), quietBlur(spnedt_shadowblur),
      quietGradient(cb_gradient);
  glyphary::LoadEffectSettings(glyphary::ui::SettingsFileName(), effect);
}

void Tfrm_effect::FormDestroy() {
  DialogEffect effect(*this);
  glyphary::StoreEffectSettings(glyphary::ui::SettingsFileName(), effect);
}

glyphary::CaptionEffect Tfrm_effect::Effect() const {
  // A typed value is in range before the focus moves on: the settings file
  // never gets one the next start would refuse.
  return {spnedt_outline->ValueInBounds(),
          lbl_outlinecolor->Color(),
          spnedt_shadowx->ValueInBounds(),
          spnedt_shadowy->ValueInBounds(),
          lbl_shadowcolor->Color(),
          spnedt_shadowblur->ValueInBounds(),
          spnedt_outeroutline->ValueInBounds(),
          lbl_outeroutlinecolor->Color(),
          cb_gradient->isChecked(),
          lbl_gradientcolor->Color()};
}

void Tfrm_effect::ShowEffect(const glyphary::CaptionEffect& effect) {
  spnedt_outline->SetValue(effect.outlineWidth);
  lbl_outlinecolor->SetColor(effect.outlineColor);
  spnedt_shadowx->SetValue(effect.shadowX);
  spnedt_shadowy->SetValue(effect.shadowY);
  lbl_shadowcolor->SetColor(effect.shadowColor);
  spnedt_shadowblur->SetValue(effect.shadowBlur);
  spnedt_outeroutline->SetValue(effect.outerOutlineWidth);
  lbl_outeroutlinecolor->SetColor(effect.outerOutlineColor);
  cb_gradient->setChecked(effect.gradient);
  lbl_gradientcolor->SetColor(effect.gradientColor);
}

void Tfrm_effect::EffectChange() {
  emit Changed();
}

// Opens at the swatch's own colour: a border or shadow colour is most often
// adjusted, not picked anew.
void Tfrm_effect::ChooseSwatchColor(glyphary::ui::ColorSwatch* swatch) {
  QColor start = glyphary::ui::ToQColor(swatch->Color());
  if (glyphary::ui::ChooseSwatchColor(this, swatch, start)) EffectChange();
}

void Tfrm_effect::lbl_outlinecolorClick() {
  ChooseSwatchColor(lbl_outlinecolor);
}

void Tfrm_effect::lbl_shadowcolorClick() {
  ChooseSwatchColor(lbl_shadowcolor);
}

void Tfrm_effect::lbl_outeroutlinecolorClick() {
  ChooseSwatchColor(lbl_outeroutlinecolor);
}

void Tfrm_effect::lbl_gradientcolorClick() {
  ChooseSwatchColor(lbl_gradientcolor);
}

void Tfrm_effect::btn_closeClick() {
  hide();
}
