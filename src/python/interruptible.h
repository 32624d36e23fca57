#pragma once

#include <cstddef>
#include <functional>

// Long work started from Python runs on the batch worker pool while the calling thread, without
// the GIL, waits and looks for a pending signal every few tens of milliseconds: Ctrl-C cancels
// the workers through their progress and raises KeyboardInterrupt once they have stopped.
namespace dlslab::python {

/// Default squares per block of a bulk call: enough to amortise taking a block, few enough
/// that a cancel or an uneven mix of squares costs little.
inline constexpr std::size_t kBulkBlock = 32;

/// Processes items [begin, end); made once per worker thread, so what it captures (its
/// engines) belongs to that thread alone.
using BlockWork = std::function<void(std::size_t begin, std::size_t end)>;

/// Runs `count` items in blocks of `block` consecutive items on `threads` workers (0: one per
/// processor), each worker taking the next block when it is free and calling make_work() once
/// on its own thread; the results go to the items' places, so they stand in input order. Waits
/// as described above; rethrows the first error a worker met.
void run_interruptibly(std::size_t count, unsigned threads, std::size_t block,
                      const std::function<BlockWork()>& make_work);

/// Runs `work` on one worker thread, the same way: for single calls that can run long.
void run_interruptibly(const std::function<void()>& work);

}  // namespace dlslab::python
