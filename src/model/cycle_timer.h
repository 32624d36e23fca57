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

/// Counter ticks per second once WaitForCpuFreq has measured them; -1 until then.
[[nodiscard]] std::int64_t CpuFreq();

/// Counter ticks per second. The first call measures them (ticks over a 100 ms sleep on the
/// calling thread, others asking meanwhile wait for it); later calls return CpuFreq().
[[nodiscard]] std::int64_t wait_for_cpu_freq();

}  // namespace dlslab
