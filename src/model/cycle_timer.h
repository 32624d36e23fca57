#pragma once

#include <cstdint>

// Elapsed time in ticks of the processor's time-stamp counter (a steady clock in nanoseconds
// where there is none). Seconds = GetElapsedTicks() / CpuFreq().
namespace dlslab {

/// The current counter reading.
[[nodiscard]] std::uint64_t ReadTsc();

/// Start mark := ReadTsc(). The marks are per thread, so timings on different threads, the
/// frequency measurement included, never disturb one another.
void StartTimer();
/// Stop mark := ReadTsc().
void StopTimer();
/// Stop mark - start mark of the calling thread.
[[nodiscard]] std::uint64_t GetElapsedTicks();

/// Counter ticks per second, measured once about 100 ms after start-up; -1 until then.
[[nodiscard]] std::int64_t CpuFreq();

/// Measures the counter frequency on a thread of its own: ticks over a 100 ms sleep, then
/// CpuFreq is stored and the thread ends. One instance starts with the program; nobody joins
/// the thread.
class TGetFreqThread {
 public:
  TGetFreqThread();
};

/// Waits for the start-up measurement (at most its 100 ms), then returns CpuFreq().
[[nodiscard]] std::int64_t WaitForCpuFreq();

}  // namespace dlslab
