#include "batch/worker_pool.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace dlslab::batch {

WorkerPool::WorkerPool(unsigned threads)
    : threads_(threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency())),
      progresses_(std::make_unique<Progress[]>(threads_)) {}

WorkerPool::~WorkerPool() = default;

void WorkerPool::cancel_all() {
  for (unsigned t = 0; t < threads_; ++t) progresses_[t].request_cancel();
}

void WorkerPool::run(const std::function<void()>& work, const std::function<bool()>& outside_stop,
                     const std::function<void()>& on_stop, std::chrono::milliseconds tick_interval,
                     const std::function<void()>& tick) {
  {
    const std::lock_guard lock(mutex_);
    active_ = threads_;
  }
  std::vector<std::thread> workers;
  workers.reserve(threads_);
  for (unsigned t = 0; t < threads_; ++t) {
    workers.emplace_back([this, &work, t] {
      {
        const ProgressScope scope(progresses_[t]);
        work();
      }
      const std::lock_guard lock(mutex_);
      --active_;
      finished_.notify_all();
    });
  }
  using Clock = std::chrono::steady_clock;
  auto next_tick = Clock::now() + tick_interval;
  bool stop_relayed = false;
  {
    std::unique_lock lock(mutex_);
    while (active_ > 0) {
      finished_.wait_for(lock, std::chrono::milliseconds(50));
      if (active_ == 0) break;
      const bool stop = !stop_relayed && outside_stop();
      const auto now = Clock::now();
      const bool due = tick && now >= next_tick;
      if (!stop && !due) continue;
      // The callbacks take locks of their own; the workers must not wait on this one meanwhile.
      lock.unlock();
      if (stop) {
        stop_relayed = true;
        on_stop();
      }
      if (due) {
        tick();
        next_tick = now + tick_interval;
      }
      lock.lock();
    }
  }
  for (std::thread& w : workers) w.join();
}

}  // namespace dlslab::batch
