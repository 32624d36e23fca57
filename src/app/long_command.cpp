#include "app/long_command.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <utility>

#include "app/command_runner.h"
#include "app/progress_panel.h"

namespace dlslab::app {
namespace {

// The panel shows only once a command has run this long, so quick runs do not flicker.
constexpr int kProgressDelayMs = 150;
constexpr int kProgressRefreshMs = 100;

}  // namespace

LongCommand::LongCommand(QWidget* window, ProgressPanel* panel)
    : QObject(window),
      panel_(panel),
      runner_(new CommandRunner(this)),
      refresh_(new QTimer(this)),
      delay_(new QTimer(this)),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), window)) {
  // Esc belongs to the board except while a long command runs.
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this, &LongCommand::cancel);
  connect(runner_, &CommandRunner::finished, this, &LongCommand::finished);
  refresh_->setInterval(kProgressRefreshMs);
  connect(refresh_, &QTimer::timeout, this, &LongCommand::show_progress);
  delay_->setSingleShot(true);
  delay_->setInterval(kProgressDelayMs);
  connect(delay_, &QTimer::timeout, this, [this] {
    if (!running()) return;
    emit panel_shown();
    panel_->show();
    show_progress();
    refresh_->start();
  });
}

void LongCommand::start(const cmd::MenuEntry& entry, const std::string& arg,
                        const cmd::Context& ctx) {
  entry_ = &entry;
  escape_->setEnabled(true);
  panel_->start(QString::fromUtf8(entry.caption.data(), std::ssize(entry.caption)));
  runner_->start(std::make_unique<cmd::CommandJob>(entry, arg, ctx));
  delay_->start();
}

bool LongCommand::running() const { return runner_->busy(); }

void LongCommand::cancel() { runner_->cancel(); }

void LongCommand::shutdown() {
  runner_->shutdown();
  wind_up();
}

LongCommand::Ended LongCommand::take_ended() { return std::exchange(ended_, {}); }

void LongCommand::show_progress() {
  if (cmd::CommandJob* job = runner_->job()) panel_->show_progress(job->progress().read());
}

void LongCommand::finished() {
  ended_.job = runner_->take_finished();
  ended_.entry = wind_up();
  emit ended();
}

const cmd::MenuEntry* LongCommand::wind_up() {
  delay_->stop();
  refresh_->stop();
  panel_->hide();
  escape_->setEnabled(false);
  return std::exchange(entry_, nullptr);
}

}  // namespace dlslab::app
