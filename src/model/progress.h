#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "model/error.h"

namespace dlslab {

/// Raised by a long routine that found a cancel request at one of its safe points. The routine
/// has changed nothing its caller owns: results are only handed over once the work is done.
class Cancelled : public Error {
 public:
  Cancelled() : Error("Cancelled") {}
};

/// The progress and the cancel request of one piece of long work, shared between the thread
/// doing it and whoever watches it (the window's progress bar, the CLI's progress line). The
/// worker writes, the watcher reads snapshots at its own pace; nothing here calls back, so a
/// worker never waits for a watcher. Counters are relaxed atomics: cheap enough to bump in a
/// search loop, though hot loops should still poll only every few thousand steps.
class Progress {
 public:
  struct Snapshot {
    std::string label;    ///< what is being done now
    std::uint64_t done;   ///< units finished
    std::uint64_t total;  ///< units in all; 0 when the size is not known
  };

  Progress() = default;
  /// The progress of a part of `outer`'s work that reports on its own (a file of a folder
  /// being scanned): a cancel request of the outer work reaches it too.
  explicit Progress(const Progress* outer) : outer_(outer) {}
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  /// Starts a step of the work: its label and size (0: unknown) and nothing done yet.
  void begin(std::string label, std::uint64_t total = 0);
  void set(std::uint64_t done) { done_.store(done, std::memory_order_relaxed); }
  void advance(std::uint64_t units = 1) { done_.fetch_add(units, std::memory_order_relaxed); }

  void request_cancel() { cancel_.store(true, std::memory_order_relaxed); }
  [[nodiscard]] bool cancel_requested() const {
    return cancel_.load(std::memory_order_relaxed) ||
           (outer_ != nullptr && outer_->cancel_requested());
  }
  /// A safe point: throws Cancelled when a cancel was requested.
  void poll() const {
    if (cancel_requested()) throw Cancelled();
  }

  [[nodiscard]] Snapshot read() const;

 private:
  mutable std::mutex label_mutex_;
  std::string label_;
  std::atomic<std::uint64_t> done_{0};
  std::atomic<std::uint64_t> total_{0};
  std::atomic<bool> cancel_{false};
  const Progress* outer_ = nullptr;
};

/// The progress of the work running on this thread: the one a ProgressScope installed, or a
/// shared one that is never cancelled. Deep routines report and poll through it, so the
/// routines keep their signatures.
[[nodiscard]] Progress& current_progress();

/// A safe point for a hot loop: step() polls the progress every 4096th call only, so a loop
/// whose step takes microseconds still stops within a few milliseconds of a cancel request.
class StepPoller {
 public:
  explicit StepPoller(const Progress& progress = current_progress()) : progress_(&progress) {}
  void step() {
    if ((++steps_ & 4095u) == 0) progress_->poll();
  }

 private:
  const Progress* progress_;
  std::uint32_t steps_ = 0;
};

/// Makes `progress` the calling thread's current progress for the scope's lifetime.
class ProgressScope {
 public:
  explicit ProgressScope(Progress& progress);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  Progress* previous_;
};

}  // namespace dlslab
