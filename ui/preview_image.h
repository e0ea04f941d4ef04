// The preview: the last caption at its own pixel size from the top-left,
// clipped to the control, never scaled.
#pragma once

#include <QImage>
#include <QWidget>

#include "render/render.h"

namespace glyphary::ui {

class PreviewImage : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewImage(QWidget* parent = nullptr);

  // Takes the caption and repaints at once.
  void SetBitmap(Bitmap&& bitmap);
  const Bitmap& CurrentBitmap() const { return bitmap_; }
  // The part that is painted, one caption pixel per device pixel.
  const QImage& Shown() const { return image_; }

 signals:
  void PictureChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ConvertVisiblePart();

  Bitmap bitmap_;
  QImage image_;
};

}  // namespace glyphary::ui
