#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

namespace dlslab::batch {

/// Hands items numbered 0, 1, 2, ... to a writer in number order, whichever worker finishes
/// them and in whatever order. The worker that hands in the item next in order becomes the
/// writer: it writes that item and every one after it that is waiting, with the lock released
/// while it writes, so the other workers hand in theirs meanwhile and never wait on the disk.
/// Only one thread writes at a time; whatever the write function changes needs no lock of its
/// own. Workers that run ahead of the writer by a window of items wait (wait_for_room), so at
/// most a few items per worker are held at once.
template <class Item>
class OrderedOutput {
 public:
  using Write = std::function<void(Item&)>;

  explicit OrderedOutput(Write write) : write_(std::move(write)) {}

  /// Hands in item `number`; writes it, and what waits after it, when it is next in order.
  void submit(std::uint64_t number, Item item) {
    std::unique_lock lock(mutex_);
    pending_.emplace(number, std::move(item));
    if (writing_) return;  // the writer takes it up when it comes to it
    writing_ = true;
    for (auto it = pending_.find(next_); it != pending_.end(); it = pending_.find(next_)) {
      Item ready = std::move(it->second);
      pending_.erase(it);
      lock.unlock();
      write_(ready);
      lock.lock();
      ++next_;
      room_.notify_all();
    }
    writing_ = false;
  }

  /// Waits until item `number` may be started: the items before it but `window` are written,
  /// or `give_up()` is true (checked whenever woken). Returns false when it gave up.
  template <class GiveUp>
  bool wait_for_room(std::uint64_t number, std::uint64_t window, GiveUp give_up) {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] { return number < next_ + window || give_up(); });
    return number < next_ + window;
  }

  /// Wakes every worker waiting for room, to look at its give-up test again.
  void wake_all() {
    const std::lock_guard lock(mutex_);
    room_.notify_all();
  }

  /// The number of items written so far.
  [[nodiscard]] std::uint64_t written() {
    const std::lock_guard lock(mutex_);
    return next_;
  }

 private:
  Write write_;
  std::mutex mutex_;
  std::condition_variable room_;
  std::map<std::uint64_t, Item> pending_;
  std::uint64_t next_ = 0;  // the number of the next item to write
  bool writing_ = false;
};

}  // namespace dlslab::batch
