#include "app/command_runner.h"

#include <QMetaObject>
#include <cassert>
#include <utility>

namespace dlslab::app {

CommandRunner::CommandRunner(QObject* parent) : QObject(parent) {}

CommandRunner::~CommandRunner() { Shutdown(); }

void CommandRunner::Start(std::unique_ptr<cmd::CommandJob> job) {
  assert(!Busy());
  job_ = std::move(job);
  cmd::CommandJob* running = job_.get();
  const int run = ++run_;
  worker_ = std::thread([this, running, run] {
    running->Run();
    // Back on the window's thread; dropped if the runner is gone by then.
    QMetaObject::invokeMethod(
        this, [this, run] { WorkerEnded(run); }, Qt::QueuedConnection);
  });
}

void CommandRunner::Cancel() {
  if (job_) job_->progress().RequestCancel();
}

void CommandRunner::Shutdown() {
  Cancel();
  if (worker_.joinable()) worker_.join();
  job_.reset();
}

std::unique_ptr<cmd::CommandJob> CommandRunner::TakeFinished() { return std::move(finished_); }

void CommandRunner::WorkerEnded(int run) {
  if (!job_ || run != run_) return;  // shut down meanwhile
  if (worker_.joinable()) worker_.join();
  finished_ = std::move(job_);
  emit Finished();
}

}  // namespace dlslab::app
