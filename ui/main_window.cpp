#include "ui/main_window.h"

Tfrm_main::Tfrm_main(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Glyphary 1.10");
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::FormCreate() {}

void Tfrm_main::FormDestroy() {}

glyphary::CaptionStyle Tfrm_main::CurrentStyle() const {
  return {};
}

void Tfrm_main::RenderCaption(glyphary::Bitmap& target, const std::string& text) {
  glyphary::RenderCaption(target, text, CurrentStyle(), engine_);
}

void Tfrm_main::RefreshPreview() {
  glyphary::Bitmap bitmap;
  RenderCaption(bitmap, "");
  preview_ = std::move(bitmap);
}

const glyphary::Bitmap& Tfrm_main::PreviewBitmap() const {
  return preview_;
}
