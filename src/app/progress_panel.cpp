#include "app/progress_panel.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "app/wrapped_label.h"

namespace dlslab::app {
namespace {

// The bar runs from 0 to kSteps; the work's own units may not fit an int.
constexpr int kSteps = 1000;

/// m:ss under an hour, h:mm:ss from an hour on.
QString time_text(double seconds) {
  const qint64 s = std::llround(seconds);
  const QString rest = QString("%1").arg(s % 60, 2, 10, QChar('0'));
  if (s < 3600) return QString("%1:%2").arg(s / 60).arg(rest);
  return QString("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0')).arg(rest);
}

}  // namespace

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("ProgressPanel");
  // A row of its own below the board: the command's name and step on one line (broken where
  // the window is narrow), the bar, the time left and Cancel on the next.
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(8, 4, 8, 4);
  rows->setSpacing(3);
  caption_ = new WrappedLabel(this);
  caption_->setObjectName("ProgressCaption");
  bar_ = new QProgressBar(this);
  bar_->setObjectName("ProgressBar");
  bar_->setMinimumWidth(60);
  bar_->setTextVisible(true);
  left_ = new QLabel(this);
  left_->setObjectName("ProgressTimeLeft");
  left_->setMinimumWidth(60);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelButton");
  cancel_->setToolTip("Stop the command (Esc)");
  cancel_->setFocusPolicy(Qt::NoFocus);
  rows->addWidget(caption_);
  auto* line = new QHBoxLayout;
  line->addWidget(bar_, 1);
  line->addWidget(left_);
  line->addWidget(cancel_);
  rows->addLayout(line);
  connect(cancel_, &QPushButton::clicked, this, &ProgressPanel::cancel_clicked);
}

void ProgressPanel::start(const QString& caption) {
  // The menu's "..." says a dialog comes first; the running command is named without it.
  command_ = caption.endsWith("...") ? caption.chopped(3) : caption;
  step_label_.clear();
  step_start_done_ = 0;
  step_clock_.start();
  caption_->set_text(command_);
  bar_->setRange(0, 0);
  left_->clear();
}

void ProgressPanel::show_progress(const Progress::Snapshot& snapshot) {
  if (snapshot.label != step_label_ || snapshot.done < step_start_done_) {
    step_label_ = snapshot.label;
    step_start_done_ = snapshot.done;
    step_clock_.start();
  }
  QString caption = command_;
  if (!snapshot.label.empty() && QString::fromStdString(snapshot.label) != command_)
    caption += ": " + QString::fromStdString(snapshot.label);
  caption_->set_text(caption);
  if (snapshot.total == 0) {
    bar_->setRange(0, 0);  // a busy bar: the size is not known
    left_->setText(snapshot.done > 0 ? QString::number(snapshot.done) : QString());
    return;
  }
  const double share =
      std::min(1.0, static_cast<double>(snapshot.done) / static_cast<double>(snapshot.total));
  bar_->setRange(0, kSteps);
  bar_->setValue(static_cast<int>(share * kSteps));
  const double seconds = static_cast<double>(step_clock_.elapsed()) / 1000.0;
  const std::uint64_t gained = snapshot.done - step_start_done_;
  if (gained == 0 || seconds < 1.0 || snapshot.done >= snapshot.total) {
    left_->clear();
    return;
  }
  left_->setText(time_text(seconds * static_cast<double>(snapshot.total - snapshot.done) /
                                 static_cast<double>(gained)) +
                 " left");
}

}  // namespace dlslab::app
