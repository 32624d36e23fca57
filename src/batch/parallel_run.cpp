// The workers share one counter of the next block: whoever is free takes the next one, so a
// slow square delays only its own block. Results need no ordering step, because every item has
// its place in the caller's output from the start.
#include "batch/parallel_run.h"

#include <algorithm>

namespace dlslab::batch {

ParallelRun::ParallelRun(std::size_t count, unsigned threads, std::size_t block,
                         std::function<BlockWork()> make_work)
    : count_(count), block_(std::max<std::size_t>(block, 1)) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t blocks = (count_ + block_ - 1) / block_;
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(blocks, 1)));
  running_ = threads;
  workers_.reserve(threads);
  // Each worker copies the factory: the caller's copy may go before the workers have used it.
  for (unsigned t = 0; t < threads; ++t)
    workers_.emplace_back([this, make_work] { Worker(make_work); });
}

ParallelRun::~ParallelRun() {
  Cancel();
  for (std::thread& worker : workers_)
    if (worker.joinable()) worker.join();
}

void ParallelRun::Worker(const std::function<BlockWork()>& make_work) {
  Progress progress(&cancel_);
  const ProgressScope scope(progress);
  try {
    const BlockWork work = make_work();
    while (!progress.CancelRequested()) {
      const std::size_t begin = next_.fetch_add(block_, std::memory_order_relaxed);
      if (begin >= count_) break;
      work(begin, std::min(count_, begin + block_));
    }
    if (progress.CancelRequested() && next_.load() < count_) throw Cancelled();
  } catch (...) {
    const std::lock_guard lock(mutex_);
    if (!error_) error_ = std::current_exception();
    cancel_.RequestCancel();  // the others stop too: the run has failed
  }
  const std::lock_guard lock(mutex_);
  --running_;
  ended_.notify_all();
}

bool ParallelRun::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!ended_.wait_for(lock, timeout, [this] { return running_ == 0; })) return false;
  lock.unlock();
  for (std::thread& worker : workers_)
    if (worker.joinable()) worker.join();
  return true;
}

void ParallelRun::Cancel() { cancel_.RequestCancel(); }

void ParallelRun::Finish() {
  const std::lock_guard lock(mutex_);
  if (error_) std::rethrow_exception(error_);
}

}  // namespace dlslab::batch
