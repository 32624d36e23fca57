#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "model/progress.h"

namespace dlslab::batch {

/// A fixed set of worker threads for one run, each with the Progress its engines poll, and the
/// calling thread as their watcher: while the workers run, it relays an outside stop request
/// (set by a signal handler) to every worker and calls a tick at a steady pace, for the
/// progress line.
class WorkerPool {
 public:
  /// `threads` 0: one per processor.
  explicit WorkerPool(unsigned threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  [[nodiscard]] unsigned size() const { return threads_; }

  /// Runs `work` once on every worker, with that worker's progress made current, and returns
  /// when all have returned. Meanwhile the caller checks `outside_stop` every 50 ms, calling
  /// `on_stop` once when it turns true, and calls `tick` every `tick_interval`.
  void run(const std::function<void()>& work, const std::function<bool()>& outside_stop,
           const std::function<void()>& on_stop, std::chrono::milliseconds tick_interval,
           const std::function<void()>& tick);

  /// Cancels every worker's progress, so that an engine stops at its next safe point. Safe
  /// from any thread, also before or after run.
  void cancel_all();

 private:
  unsigned threads_;
  std::unique_ptr<Progress[]> progresses_;
  std::mutex mutex_;
  std::condition_variable finished_;
  unsigned active_ = 0;
};

}  // namespace dlslab::batch
