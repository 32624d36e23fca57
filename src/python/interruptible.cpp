#include "python/interruptible.h"

#include <pybind11/pybind11.h>

#include <chrono>

namespace dlslab::python {

namespace py = pybind11;

void RunInterruptibly(std::size_t count, unsigned threads, std::size_t block,
                      std::function<batch::ParallelRun::BlockWork()> make_work) {
  using std::chrono::milliseconds;
  std::unique_ptr<batch::ParallelRun> run;
  {
    const py::gil_scoped_release release;
    run = std::make_unique<batch::ParallelRun>(count, threads, block, std::move(make_work));
  }
  for (;;) {
    bool ended = false;
    {
      const py::gil_scoped_release release;
      ended = run->Wait(milliseconds(20));
    }
    if (ended) break;
    if (PyErr_CheckSignals() != 0) {
      // The signal's exception is set; it is raised once the workers are gone.
      {
        const py::gil_scoped_release release;
        run->Cancel();
        while (!run->Wait(milliseconds(1000))) {
        }
        run.reset();
      }
      throw py::error_already_set();
    }
  }
  run->Finish();
}

void RunInterruptibly(const std::function<void()>& work) {
  RunInterruptibly(1, 1, 1, [&work]() -> batch::ParallelRun::BlockWork {
    return [&work](std::size_t, std::size_t) { work(); };
  });
}

}  // namespace dlslab::python
