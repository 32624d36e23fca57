#include "model/progress.h"

#include <utility>

namespace dlslab {
namespace {

Progress idle_progress;  // nobody watches it and nobody cancels it
thread_local Progress* current_progress = nullptr;

}  // namespace

void Progress::Begin(std::string label, std::uint64_t total) {
  {
    const std::lock_guard lock(label_mutex_);
    label_ = std::move(label);
  }
  total_.store(total, std::memory_order_relaxed);
  done_.store(0, std::memory_order_relaxed);
}

Progress::Snapshot Progress::Read() const {
  Snapshot snapshot;
  {
    const std::lock_guard lock(label_mutex_);
    snapshot.label = label_;
  }
  snapshot.done = done_.load(std::memory_order_relaxed);
  snapshot.total = total_.load(std::memory_order_relaxed);
  return snapshot;
}

Progress& CurrentProgress() {
  return current_progress != nullptr ? *current_progress : idle_progress;
}

ProgressScope::ProgressScope(Progress& progress) : previous_(current_progress) {
  current_progress = &progress;
}

ProgressScope::~ProgressScope() { current_progress = previous_; }

}  // namespace dlslab
