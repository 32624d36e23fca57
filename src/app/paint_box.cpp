#include "app/paint_box.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace dlslab::app {

PaintBox::PaintBox(const QImage* bitmap, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!bitmap_->isNull()) painter.drawImage(0, 0, *bitmap_);
  if (overlay_) overlay_(painter);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouse_moved(p.x(), p.y());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) left_pressed_ = true;
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release of the left button over the box.
  if (event->button() != Qt::LeftButton || !left_pressed_) return;
  left_pressed_ = false;
  if (rect().contains(event->position().toPoint())) emit clicked();
}

void PaintBox::contextMenuEvent(QContextMenuEvent* event) {
  emit popup_requested(event->globalPos());
}

}  // namespace dlslab::app
