#pragma once

#include <cstddef>
#include <functional>

#include "batch/parallel_run.h"

// Long work started from Python runs on worker threads while the calling thread, without the
// GIL, waits in short steps and looks for a pending signal between them: Ctrl-C cancels the
// workers through their progress and raises KeyboardInterrupt once they have stopped.
namespace dlslab::python {

/// Default squares per block of a bulk call: enough to amortise taking a block, few enough
/// that a cancel or an uneven mix of squares costs little.
inline constexpr std::size_t kBulkBlock = 32;

/// Runs the blocks of `count` items on `threads` workers (0: one per processor) and waits for
/// them as described above; rethrows what a worker threw.
void RunInterruptibly(std::size_t count, unsigned threads, std::size_t block,
                      std::function<batch::ParallelRun::BlockWork()> make_work);

/// Runs `work` on one worker thread, the same way: for single calls that can run long.
void RunInterruptibly(const std::function<void()>& work);

}  // namespace dlslab::python
