#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <utility>

namespace dlslab::batch {

/// When a threaded run stops: on the caller's flag, on request (the run's own end, the pool's
/// relayed stop) or on a failure. The first failure's text is the run's error; later ones are
/// dropped. Every request calls `wake`, which cancels whatever the workers and the writer wait
/// on, so that each sees the stop at once.
class RunStop {
 public:
  RunStop(const std::atomic<bool>& outside, std::function<void()> wake)
      : outside_(outside), wake_(std::move(wake)) {}

  void request() {
    requested_.store(true, std::memory_order_relaxed);
    wake_();
  }
  void fail(std::string error) {
    {
      const std::lock_guard lock(mutex_);
      if (error_.empty()) error_ = std::move(error);
    }
    request();
  }

  [[nodiscard]] bool stopping() const {
    return requested_.load(std::memory_order_relaxed) || outside_.load(std::memory_order_relaxed);
  }
  [[nodiscard]] bool failed() const {
    const std::lock_guard lock(mutex_);
    return !error_.empty();
  }
  /// The first failure's text; empty while none.
  [[nodiscard]] std::string error() const {
    const std::lock_guard lock(mutex_);
    return error_;
  }

 private:
  const std::atomic<bool>& outside_;
  const std::function<void()> wake_;
  std::atomic<bool> requested_{false};
  mutable std::mutex mutex_;
  std::string error_;
};

}  // namespace dlslab::batch
