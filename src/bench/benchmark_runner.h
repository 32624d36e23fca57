#pragma once

#include <functional>
#include <string>

#include "bench/fp_data_collection.h"

// The scaling benchmark: rounds of k = 1 .. 2P copies of a test program run at once, each
// round's time turned into a rate.
namespace dlslab {

/// Which test program a benchmark starts and how a round's time becomes a rate:
/// k * work_per_run / seconds / rate_divisor, logged with unit after it.
struct BenchmarkTest {
  std::string executable;  ///< file name, looked up in the program folder
  double work_per_run;     ///< squares one run of the program counts for
  double rate_divisor;     ///< 1000 for thousands per second
  std::string unit;        ///< text after the rate, e.g. "k DLS/s"
};

/// What RunBenchmark needs from its caller.
struct BenchmarkHooks {
  std::function<void(const std::string&)> log;  ///< appends one log line
  /// Called every few milliseconds while a round waits (the window repaints in it).
  std::function<void()> while_waiting;
  /// Folder of the test programs, with its trailing separator; get_test_program_folder() when
  /// empty.
  std::string folder;
};

/// The rate in fixed notation with two decimals, rounded to at most ten significant digits,
/// with the C library's current decimal separator (the user's, once a window has set it).
[[nodiscard]] std::string format_benchmark_rate(double rate);

/// Logs the processor count, then runs the rounds k = 1 .. 2P: starts k copies, waits for all
/// of them, appends the rate to data and logs it; logs "OK" at the end. Waits for the counter
/// frequency first if it is not known yet. A round that fails (a copy not started, exiting
/// with a non-zero status or killed) logs why and ends the benchmark: returns false, and data
/// keeps only the rates of the rounds before it. Throws Cancelled at a cancel request.
bool RunBenchmark(const BenchmarkTest& test, TFpDataCollection& data, const BenchmarkHooks& hooks);

}  // namespace dlslab
