#include "model/progress.h"

#include <utility>

namespace dlslab {
namespace {

Progress idle_progress;  // nobody watches it and nobody cancels it
thread_local Progress* installed = nullptr;  // the progress of this thread's running work

}  // namespace

void Progress::begin(std::string label, std::uint64_t total) {
  {
    const std::lock_guard lock(label_mutex_);
    label_ = std::move(label);
  }
  total_.store(total, std::memory_order_relaxed);
  done_.store(0, std::memory_order_relaxed);
}

Progress::Snapshot Progress::read() const {
  Snapshot snapshot;
  {
    const std::lock_guard lock(label_mutex_);
    snapshot.label = label_;
  }
  snapshot.done = done_.load(std::memory_order_relaxed);
  snapshot.total = total_.load(std::memory_order_relaxed);
  return snapshot;
}

Progress& current_progress() {
  return installed != nullptr ? *installed : idle_progress;
}

ProgressScope::ProgressScope(Progress& progress) : previous_(installed) {
  installed = &progress;
}

ProgressScope::~ProgressScope() { installed = previous_; }

}  // namespace dlslab
