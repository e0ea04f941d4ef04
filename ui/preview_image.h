// The preview: the last caption at its own pixel size from the top-left,
// clipped to the control, never scaled.
#pragma once

#include <QImage>
#include <QMimeData>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

#include "image/image.h"

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
  // What a drag started on the caption carries (owned by the drag).
  void SetDragSource(std::function<QMimeData*()> source) { dragSource_ = std::move(source); }
  // What a drag would carry now; null without a caption or a source.
  std::unique_ptr<QMimeData> DragData() const;

 signals:
  void PictureChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void ConvertVisiblePart();

  Bitmap bitmap_;
  QImage image_;
  std::function<QMimeData*()> dragSource_;
  QPoint pressedAt_{-1, -1};
};

}  // namespace glyphary::ui
