#include "ui/preview_image.h"

#include "ui/error_display.h"

#include <QApplication>
#include <QDrag>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace glyphary::ui {
namespace {

// One caption row (24-bit blue, green, red) into an RGB32 scan line.
void CopyRow(const std::uint8_t* from, QRgb* to, int width) {
  for (int x = 0; x < width; ++x, from += 3) to[x] = qRgb(from[2], from[1], from[0]);
}

}  // namespace

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {}

void PreviewImage::SetBitmap(Bitmap&& bitmap) {
  bitmap_ = std::move(bitmap);
  ConvertVisiblePart();
  repaint();
  emit PictureChanged();
}

// Only what the control can show is converted: a large caption costs no
// more to display than one that fills the preview.
void PreviewImage::ConvertVisiblePart() {
  const qreal ratio = devicePixelRatioF();
  const int width = std::min(bitmap_.Width(), int(std::ceil(this->width() * ratio)));
  const int height = std::min(bitmap_.Height(), int(std::ceil(this->height() * ratio)));
  if (width <= 0 || height <= 0 || bitmap_.BitsPerPixel() != 24) {
    image_ = QImage();
    return;
  }
  if (image_.width() != width || image_.height() != height)
    image_ = QImage(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    CopyRow(bitmap_.Row(y), reinterpret_cast<QRgb*>(image_.scanLine(y)), width);
  image_.setDevicePixelRatio(ratio);
}

void PreviewImage::paintEvent(QPaintEvent*) {
  if (!image_.isNull() && image_.devicePixelRatio() != devicePixelRatioF()) ConvertVisiblePart();
  if (image_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image_);
}

std::unique_ptr<QMimeData> PreviewImage::DragData() const {
  if (!dragSource_ || bitmap_.Empty()) return nullptr;
  return std::unique_ptr<QMimeData>(dragSource_());
}

void PreviewImage::mousePressEvent(QMouseEvent* event) {
  pressedAt_ = event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-1, -1);
  QWidget::mousePressEvent(event);
}

// A drag of the caption itself, once the mouse has moved far enough.
void PreviewImage::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (!(event->buttons() & Qt::LeftButton) || pressedAt_.x() < 0 ||
      (event->position().toPoint() - pressedAt_).manhattanLength() <
          QApplication::startDragDistance())
    return;
  pressedAt_ = QPoint(-1, -1);
  try {
    std::unique_ptr<QMimeData> data = DragData();
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data.release());
    if (!image_.isNull())
      drag->setPixmap(QPixmap::fromImage(image_.scaled(
          image_.size().boundedTo(QSize(256, 96)), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    drag->exec(Qt::CopyAction);
  } catch (...) {
    ShowCurrentException();
  }
}

}  // namespace glyphary::ui
