#include "app/statistics_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace dlslab::app {
namespace {

// The window's side at first: the picture (2110 pixels square) would not fit a screen.
constexpr int kFirstSide = 640;

}  // namespace

StatisticsWindow::StatisticsWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("StatisticsWindow");
  setWindowTitle("Statistical info");
  setModal(false);
  setMinimumSize(160, 160);
  resize(kFirstSide, kFirstSide);
}

void StatisticsWindow::show_picture(const QImage& picture, const QString& file_name) {
  picture_ = picture;
  setWindowTitle("Statistical info - " + file_name);
  setMaximumSize(picture_.size().expandedTo(minimumSize()));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size() * 9 / 10;
    if (!isVisible()) resize(size().boundedTo(room));
  }
  update();
  show();
  raise();
  activateWindow();
}

void StatisticsWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (picture_.isNull()) return;
  const QSize shown = picture_.size().scaled(size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture_);
}

}  // namespace dlslab::app
