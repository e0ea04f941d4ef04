// The main window: text, caption style, live preview, menu and tool bar.
#pragma once

#include <QMainWindow>

#include <string>

#include "render/render.h"

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

 private:
  glyphary::FontEngine engine_;
  glyphary::Bitmap preview_;
};
