#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "model/progress.h"

namespace dlslab::batch {

/// Work over the items 0..count-1 of an array in memory, one worker per thread, each handed
/// blocks of consecutive items in order. A worker writes the results of its items into their
/// places, so the results stand in input order whatever the thread count.
///
/// The caller keeps its thread: it waits in steps (Wait) and may cancel meanwhile. A cancel
/// reaches each worker's progress, so an engine stops at its next safe point too.
class ParallelRun {
 public:
  /// Processes items [begin, end); made once per worker thread, so what it captures (its
  /// engines) belongs to that thread alone.
  using BlockWork = std::function<void(std::size_t begin, std::size_t end)>;

  /// Starts `threads` workers (0: one per processor, never more than the blocks) over `count`
  /// items in blocks of `block` items; each worker calls make_work() once on its own thread.
  ParallelRun(std::size_t count, unsigned threads, std::size_t block,
              std::function<BlockWork()> make_work);
  /// Cancels what is still running and waits for the workers.
  ~ParallelRun();
  ParallelRun(const ParallelRun&) = delete;
  ParallelRun& operator=(const ParallelRun&) = delete;

  /// Waits up to `timeout` for every worker to end; true when they all have.
  bool Wait(std::chrono::milliseconds timeout);
  /// Asks every worker to stop at its next block or safe point.
  void Cancel();
  /// After the workers ended: rethrows the first error a worker met (Cancelled after a cancel
  /// that stopped some work).
  void Finish();

  [[nodiscard]] unsigned threads() const { return static_cast<unsigned>(workers_.size()); }

 private:
  void Worker(const std::function<BlockWork()>& make_work);

  const std::size_t count_;
  const std::size_t block_;
  std::atomic<std::size_t> next_{0};
  Progress cancel_;  // the outer progress of every worker's own: its cancel reaches them all
  std::mutex mutex_;
  std::condition_variable ended_;
  unsigned running_ = 0;
  std::exception_ptr error_;
  std::vector<std::thread> workers_;
};

}  // namespace dlslab::batch
