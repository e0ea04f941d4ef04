// The batch production dialog: up to ten captions, each rendered with the
// main window's current style and written under its own name into one folder.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include "ui/form_dialog.h"

#include <functional>
#include <vector>

#include "export/export.h"
#include "render/render.h"
#include "ui/spin_edit.h"

namespace glyphary::ui {

// Where the batch takes its captions' look: the style as it is at the moment
// of the run, and the engine that draws it.
struct CaptionSource {
  std::function<CaptionStyle()> style;
  FontEngine& engine;
};

}  // namespace glyphary::ui

class Tfrm_production : public glyphary::ui::FormDialog {
  Q_OBJECT

 public:
  Tfrm_production(QWidget* parent, glyphary::ui::CaptionSource captions);

  void FormCreate();
  // Takes the export options from the settings dialog.
  void FormShow();

  void cb_transparentClick();
  void cb_alphaClick();
  void Button1Click();
  void Button2Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();

  // What the batch run takes from the dialog, read from the controls now.
  std::vector<glyphary::BatchRow> Rows() const;
  glyphary::ImageFormat Format() const;
  glyphary::ExportOptions Options() const;

  QTabWidget* PageControl1 = nullptr;
  QRadioButton* rdb_jpeg = nullptr;
  QRadioButton* rdb_png = nullptr;
  QRadioButton* rdb_bmp = nullptr;
  glyphary::ui::SpinEdit* spnedt_jpeg = nullptr;
  QCheckBox* cb_transparent = nullptr;
  QCheckBox* cb_256 = nullptr;
  QCheckBox* cb_alpha = nullptr;
  QLineEdit* edt_saveplace = nullptr;
  QPushButton* Button1 = nullptr;  // "PNGについて"
  QPushButton* Button2 = nullptr;  // "参照"
  QPushButton* Button4 = nullptr;  // "ヘルプ"
  QPushButton* Button5 = nullptr;  // "キャンセル"
  QPushButton* Button6 = nullptr;  // "OK"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* RowField(const char* prefix, int row) const;
  void ShowOptions(const glyphary::ExportOptions& options);

  glyphary::ui::CaptionSource captions_;
};
