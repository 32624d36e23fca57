#pragma once

#include <QObject>
#include <memory>
#include <thread>

#include "cmd/command_job.h"

namespace dlslab::app {

/// Runs one CommandJob at a time on a worker thread and tells the window's thread when it
/// has ended. The job's result is the window's to apply.
class CommandRunner : public QObject {
  Q_OBJECT

 public:
  explicit CommandRunner(QObject* parent);
  /// Cancels a job still running and waits for it; its result is dropped.
  ~CommandRunner() override;
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  /// Starts the job; only while not busy.
  void start(std::unique_ptr<cmd::CommandJob> job);
  /// True from start until the finished signal has been handled.
  [[nodiscard]] bool busy() const { return job_ != nullptr; }
  /// The job being run, or nullptr.
  [[nodiscard]] cmd::CommandJob* job() const { return job_.get(); }
  /// Asks the running job to stop at its next safe point; finished follows.
  void cancel();
  /// Cancels the running job and waits for its thread; no finished follows.
  void shutdown();
  /// The job whose end finished announced; nullptr when there is none.
  [[nodiscard]] std::unique_ptr<cmd::CommandJob> take_finished();

 signals:
  void finished();

 private:
  void worker_ended(int run);

  std::unique_ptr<cmd::CommandJob> job_;
  std::unique_ptr<cmd::CommandJob> finished_;
  std::thread worker_;
  int run_ = 0;  ///< numbers the jobs, so that a late word of a dropped one is ignored
};

}  // namespace dlslab::app
