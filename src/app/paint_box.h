#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace dlslab::app {

/// The surface of the square view: copies the window's bitmap to its top-left corner and
/// reports the mouse. Wheel events pass on to the window.
class PaintBox : public QWidget {
  Q_OBJECT

 public:
  PaintBox(const QImage* bitmap, QWidget* parent);

  /// Painted over the bitmap on the screen only (the keyboard cursor).
  void set_overlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }

 signals:
  void mouse_moved(int x, int y);
  void clicked();
  void popup_requested(const QPoint& global_pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  const QImage* bitmap_;
  std::function<void(QPainter&)> overlay_;
  bool left_pressed_ = false;
};

}  // namespace dlslab::app
