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

  /// Starts the job; only while not Busy.
  void Start(std::unique_ptr<cmd::CommandJob> job);
  /// True from Start until the Finished signal has been handled.
  [[nodiscard]] bool Busy() const { return job_ != nullptr; }
  /// The job being run, or nullptr.
  [[nodiscard]] cmd::CommandJob* Job() const { return job_.get(); }
  /// Asks the running job to stop at its next safe point; Finished follows.
  void Cancel();
  /// Cancels the running job and waits for its thread; no Finished follows.
  void Shutdown();
  /// The job whose end Finished announced; nullptr when there is none.
  [[nodiscard]] std::unique_ptr<cmd::CommandJob> TakeFinished();

 signals:
  void Finished();

 private:
  void WorkerEnded(int run);

  std::unique_ptr<cmd::CommandJob> job_;
  std::unique_ptr<cmd::CommandJob> finished_;
  std::thread worker_;
  int run_ = 0;  ///< numbers the jobs, so that a late word of a dropped one is ignored
};

}  // namespace dlslab::app
