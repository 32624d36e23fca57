#include "app/command_runner.h"

#include <QMetaObject>
#include <cassert>
#include <utility>

namespace dlslab::app {

CommandRunner::CommandRunner(QObject* parent) : QObject(parent) {}

CommandRunner::~CommandRunner() { shutdown(); }

void CommandRunner::start(std::unique_ptr<cmd::CommandJob> job) {
  assert(!busy());
  job_ = std::move(job);
  cmd::CommandJob* running = job_.get();
  const int run = ++run_;
  worker_ = std::thread([this, running, run] {
    running->run();
    // Back on the window's thread; dropped if the runner is gone by then.
    QMetaObject::invokeMethod(
        this, [this, run] { worker_ended(run); }, Qt::QueuedConnection);
  });
}

void CommandRunner::cancel() {
  if (job_) job_->progress().request_cancel();
}

void CommandRunner::shutdown() {
  cancel();
  if (worker_.joinable()) worker_.join();
  job_.reset();
}

std::unique_ptr<cmd::CommandJob> CommandRunner::take_finished() { return std::move(finished_); }

void CommandRunner::worker_ended(int run) {
  if (!job_ || run != run_) return;  // shut down meanwhile
  if (worker_.joinable()) worker_.join();
  finished_ = std::move(job_);
  emit finished();
}

}  // namespace dlslab::app
