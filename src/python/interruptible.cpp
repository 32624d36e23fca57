#include "python/interruptible.h"

#include <pybind11/pybind11.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>

#include "batch/worker_pool.h"
#include "model/progress.h"

namespace dlslab::python {

namespace py = pybind11;

void run_interruptibly(std::size_t count, unsigned threads, std::size_t block,
                      const std::function<BlockWork()>& make_work) {
  block = std::max<std::size_t>(block, 1);
  const std::size_t blocks = (count + block - 1) / block;
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = static_cast<unsigned>(std::clamp<std::size_t>(blocks, 1, threads));

  std::atomic<std::size_t> next{0};
  std::atomic<bool> interrupted{false};
  std::mutex error_mutex;
  std::exception_ptr error;
  bool signalled = false;  // a signal handler raised; its exception is pending in this thread
  {
    const py::gil_scoped_release release;
    batch::WorkerPool pool(threads);
    const auto work = [&] {
      try {
        const Progress& progress = current_progress();
        const BlockWork blocks_work = make_work();
        for (;;) {
          progress.poll();
          const std::size_t begin = next.fetch_add(block, std::memory_order_relaxed);
          if (begin >= count) break;
          blocks_work(begin, std::min(count, begin + block));
        }
      } catch (...) {
        const std::lock_guard lock(error_mutex);
        if (!error) error = std::current_exception();
        interrupted = true;  // the others stop too: the call has failed
      }
    };
    const auto look_for_signals = [&] {
      const py::gil_scoped_acquire acquire;
      if (!signalled && PyErr_CheckSignals() != 0) {
        signalled = true;
        interrupted = true;
      }
    };
    pool.run(
        work, [&] { return interrupted.load(); }, [&] { pool.cancel_all(); },
        std::chrono::milliseconds(20), look_for_signals);
  }
  if (signalled) throw py::error_already_set();
  if (error) std::rethrow_exception(error);
}

void run_interruptibly(const std::function<void()>& work) {
  run_interruptibly(
      1, 1, 1, [&work]() -> BlockWork { return [&work](std::size_t, std::size_t) { work(); }; });
}

}  // namespace dlslab::python
