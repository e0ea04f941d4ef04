// The main window: text, caption style, live preview, menu and tool bar.
#pragma once

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>

#include <string>
#include <vector>

#include "export/export.h"
#include "render/render.h"
#include "ui/caption_edit.h"
#include "ui/color_swatch.h"
#include "ui/dialogs.h"
#include "ui/preview_image.h"
#include "ui/spin_edit.h"

class Tfrm_main : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tfrm_main(QWidget* parent = nullptr);
  ~Tfrm_main() override;

  void FormCreate();
  void FormDestroy();

  // The caption style as the controls hold it at this moment.
  glyphary::CaptionStyle CurrentStyle() const;
  // Renders a text with the current style into `target`.
  void RenderCaption(glyphary::Bitmap& target, const std::string& text);
  void RefreshPreview();
  // The last rendered caption, as Save As writes it.
  const glyphary::Bitmap& PreviewBitmap() const;
  glyphary::FontEngine& Engine() { return engine_; }

  // The client area below the menu bar; the window is held at this size.
  QSize ClientSize() const;
  void SetClientSize(QSize size);
  // Sets a style button's pressed state and its flag together.
  void SetStyleButton(QToolButton* button, bool pressed);
  // Save As and Copy Image: what a window that changes the caption offers
  // with the same shortcuts.
  QList<QAction*> CaptionCommands() const;

  // Components, named as the window's designer named them.
  QToolBar* ToolBar1 = nullptr;
  glyphary::ui::CaptionEdit* edt_text = nullptr;
  QComboBox* ComboBox = nullptr;
  QComboBox* ComboBox1 = nullptr;
  glyphary::ui::SpinEdit* spn_size = nullptr;
  QToolButton* spd_bold = nullptr;
  QToolButton* spd_italic = nullptr;
  QToolButton* spd_underline = nullptr;
  glyphary::ui::ColorSwatch* lbl_textcolor = nullptr;
  glyphary::ui::ColorSwatch* lbl_bkcolor = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  glyphary::ui::PreviewImage* Image1 = nullptr;
  QAction* N2 = nullptr;  // its check mark; every command is an action named as its menu item
  QAction* Vertical1 = nullptr;  // the tool bar's vertical writing toggle
  // Filter index and file name of the save dialog, kept for the next use.
  glyphary::ui::SaveFileRequest SaveDialog;

 signals:
  // The tool bar's toggle was pressed or released.
  void VerticalToggled(bool vertical);

 public slots:
  void edt_textChange();
  void ComboBoxChange();
  void spn_sizeChange();
  void spn_sizeClick();
  void spd_boldClick();
  void spd_italicClick();
  void spd_underlineClick();
  void lbl_textcolorClick();
  void lbl_bkcolorClick();
  void SaveAs1Click();
  void CopyImage1Click();
  void Effect1Click();
  void Layout1Click();
  void Vertical1Click();
  // The layout dialog's vertical box, shown on the tool bar's toggle.
  void ShowVertical(bool vertical);
  void N4Click();
  void JPEG1Click();
  void N2Click();
  void Inkwright1Click();
  void TarventSoftware1Click();
  void About1Click();
  void Exit1Click();

 private:
  void BuildClientArea();
  void BuildCommands();
  QAction* Command(const char* name) const;
  void BuildMenu();
  void BuildToolBar();
  void ConnectHandlers();
  void FillFaceLists();
  glyphary::Bitmap CaptionFor(glyphary::ImageFormat format, const glyphary::ExportOptions& options);
  std::vector<std::uint8_t> CaptionPng();
  // What a drag of the preview carries.
  QMimeData* CaptionDragData();
  void SettleStyleAndPlace();
  // The colour dialog for one swatch; RefreshPreview when confirmed.
  void ChooseSwatchColor(glyphary::ui::ColorSwatch* swatch);
  bool& FlagOf(const QToolButton* button);

  glyphary::FontEngine engine_;
  bool bold_ = false, italic_ = false, underline_ = false;
  // The colour dialog opens where it was last confirmed.
  QColor lastChosenColor_ = Qt::black;
};
