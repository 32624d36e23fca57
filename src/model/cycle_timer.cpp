#include "model/cycle_timer.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#if defined(__x86_64__) || defined(_M_X64)
#include <x86intrin.h>
#define DLSLAB_HAVE_RDTSC 1
#endif

namespace dlslab {
namespace {

thread_local std::uint64_t start_mark = 0;
thread_local std::uint64_t stop_mark = 0;
std::atomic<std::int64_t> cpu_freq{-1};
std::once_flag measured;

constexpr auto kMeasureSpan = std::chrono::milliseconds(100);

void measure_frequency() {
  // Local marks: a timing the calling thread has under way keeps its own. The ticks are
  // divided by the time that really passed, not by the 100 ms asked for: on a busy machine the
  // sleep overruns, which would make the counter look faster than it is.
  const auto clock_start = std::chrono::steady_clock::now();
  const std::uint64_t start = ReadTsc();
  std::this_thread::sleep_for(kMeasureSpan);
  const std::uint64_t stop = ReadTsc();
  const std::chrono::duration<double> slept = std::chrono::steady_clock::now() - clock_start;
  const double ticks = static_cast<double>(stop - start);
  cpu_freq.store(std::llround(ticks / slept.count()));
}

}  // namespace

std::uint64_t ReadTsc() {
#ifdef DLSLAB_HAVE_RDTSC
  return __rdtsc();
#else
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
#endif
}

void StartTimer() { start_mark = ReadTsc(); }
void StopTimer() { stop_mark = ReadTsc(); }
std::uint64_t GetElapsedTicks() { return stop_mark - start_mark; }
std::int64_t CpuFreq() { return cpu_freq.load(); }

std::int64_t wait_for_cpu_freq() {
  std::call_once(measured, measure_frequency);
  return CpuFreq();
}

}  // namespace dlslab
