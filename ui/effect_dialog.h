// The borders, shadow and gradient fill of the caption: a modeless dialog
// that reports every change, so that the preview shows it at once.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "render/render.h"
#include "ui/color_swatch.h"
#include "ui/form_dialog.h"
#include "ui/spin_edit.h"

class Tfrm_effect : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  explicit Tfrm_effect(QWidget* parent = nullptr);

  void FormCreate();
  void FormDestroy();

  // The borders, shadow and fill as the controls show them now.
  glyphary::CaptionEffect Effect() const;
  void ShowEffect(const glyphary::CaptionEffect& effect);

  glyphary::ui::SpinEdit* spnedt_outline = nullptr;
  glyphary::ui::ColorSwatch* lbl_outlinecolor = nullptr;
  glyphary::ui::SpinEdit* spnedt_shadowx = nullptr;
  glyphary::ui::SpinEdit* spnedt_shadowy = nullptr;
  glyphary::ui::SpinEdit* spnedt_shadowblur = nullptr;
  glyphary::ui::ColorSwatch* lbl_shadowcolor = nullptr;
  glyphary::ui::SpinEdit* spnedt_outeroutline = nullptr;
  glyphary::ui::ColorSwatch* lbl_outeroutlinecolor = nullptr;
  QCheckBox* cb_gradient = nullptr;
  glyphary::ui::ColorSwatch* lbl_gradientcolor = nullptr;
  QPushButton* btn_close = nullptr;

 signals:
  // A box or a swatch changed what Effect() returns.
  void Changed();

 public slots:
  void EffectChange();
  void lbl_outlinecolorClick();
  void lbl_shadowcolorClick();
  void lbl_outeroutlinecolorClick();
  void lbl_gradientcolorClick();
  void btn_closeClick();

 private:
  void ChooseSwatchColor(glyphary::ui::ColorSwatch* swatch);
};
