#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "model/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace dlslab::app {

class WrappedLabel;

/// The row of a long command: what is being done, a progress bar with the time left when the
/// size of the work is known (a busy bar when not), and a Cancel button.
class ProgressPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressPanel(QWidget* parent);

  /// Starts showing the command of that caption, from nothing done.
  void start(const QString& caption);
  /// Shows where the work is now.
  void show_progress(const Progress::Snapshot& snapshot);

 signals:
  void cancel_clicked();

 private:
  WrappedLabel* caption_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* left_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QString command_;
  // The time left is measured from the start of the current step of the work.
  QElapsedTimer step_clock_;
  std::string step_label_;
  std::uint64_t step_start_done_ = 0;
};

}  // namespace dlslab::app
