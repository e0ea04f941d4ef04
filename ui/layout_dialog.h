// How the caption's lines are set: vertical or horizontal, their alignment,
// line and letter spacing. A modeless dialog that reports every change, so
// that the preview shows it at once.
#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "render/render.h"
#include "ui/form_dialog.h"
#include "ui/spin_edit.h"

class Tfrm_layout : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  explicit Tfrm_layout(QWidget* parent = nullptr);

  // Also tells the tool bar the vertical state it loaded.
  void FormCreate();
  void FormDestroy();

  // The layout as the controls show it now.
  glyphary::CaptionLayout Layout() const;
  // Shows a layout without reporting a change.
  void ShowLayout(const glyphary::CaptionLayout& layout);

  QCheckBox* cb_vertical = nullptr;
  QRadioButton* rdb_start = nullptr;
  QRadioButton* rdb_center = nullptr;
  QRadioButton* rdb_end = nullptr;
  glyphary::ui::SpinEdit* spnedt_linespacing = nullptr;
  glyphary::ui::SpinEdit* spnedt_letterspacing = nullptr;
  QPushButton* btn_close = nullptr;

 signals:
  // A control changed what Layout() returns.
  void Changed();
  // The vertical box was ticked or cleared, by the user or by SetVertical.
  void VerticalChanged(bool vertical);

 public slots:
  // The tool bar's toggle: as a click on the box.
  void SetVertical(bool vertical);
  void cb_verticalClick();
  void LayoutChange();
  void btn_closeClick();

 private:
  // The alignment's names follow the direction: left and right across,
  // top and bottom down.
  void ShowAlignNames();
};
