#pragma once

#include <QDialog>
#include <QImage>

namespace dlslab::app {

/// The picture "Draw statistical info" has written, in a window of its own beside the main
/// window: scaled down to the window, which may be made larger up to the picture's own size.
class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsWindow(QWidget* parent);

  /// Shows the picture, written to `file_name`, and brings the window up.
  void show_picture(const QImage& picture, const QString& file_name);
  [[nodiscard]] const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace dlslab::app
