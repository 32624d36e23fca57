#include "bench/benchmark_runner.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/process.h"
#include "model/cycle_timer.h"
#include "model/parse_number.h"
#include "model/progress.h"

namespace dlslab {

std::string format_benchmark_rate(double rate) {
  const char* point = std::localeconv()->decimal_point;
  const std::string separator = point != nullptr && *point != '\0' ? point : ".";
  if (!std::isfinite(rate)) return std::to_string(rate);
  // Ten significant digits: a rate with more digits before the point comes in the general
  // scientific form (trailing zeros dropped, capital E, no plus sign), like 1.23456789E10.
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.9e", rate);
  char* e = std::strchr(digits, 'e');
  const int exponent = printf_exponent(e + 1);
  auto with_separator = [&separator](std::string text) {
    if (const auto dot = text.find('.'); dot != std::string::npos) text.replace(dot, 1, separator);
    return text;
  };
  if (exponent >= 10) {
    std::string mantissa(digits, e);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    return with_separator(mantissa) + "E" + std::to_string(exponent);
  }
  const double rounded = std::strtod(digits, nullptr);
  char fixed[64];
  std::snprintf(fixed, sizeof fixed, "%.2f", rounded);
  return with_separator(fixed);
}

bool RunBenchmark(const BenchmarkTest& test, TFpDataCollection& data, const BenchmarkHooks& hooks) {
  auto log = [&hooks](const std::string& line) {
    if (hooks.log) hooks.log(line);
  };
  const std::string folder = hooks.folder.empty() ? get_test_program_folder() : hooks.folder;
  const std::string command_line = folder + test.executable;
  const int processors = GetProcessorsCount();
  const int rounds = 2 * processors;
  log(std::to_string(processors) + " processors found, " + std::to_string(rounds) +
      " tests will be launched");

  // The counter's frequency, measured on first use.
  const double ticks_per_second = static_cast<double>(wait_for_cpu_freq());
  Progress& progress = current_progress();
  progress.begin("Benchmark " + test.executable, static_cast<std::uint64_t>(rounds));
  for (int k = 1; k <= rounds; ++k) {
    progress.poll();
    StartTimer();
    const ParallelRunResult round = RunTestsInParallel(command_line, k, hooks.while_waiting);
    StopTimer();
    if (!round.ok()) {
      log(round.message);
      return false;
    }
    const double seconds = static_cast<double>(GetElapsedTicks()) / ticks_per_second;
    const double rate = k * test.work_per_run / seconds / test.rate_divisor;
    data.Add(rate);
    log(std::to_string(k) + " thread(s): " + format_benchmark_rate(rate) + test.unit);
    progress.set(static_cast<std::uint64_t>(k));
    if (hooks.while_waiting) hooks.while_waiting();
  }
  log("OK");
  return true;
}

}  // namespace dlslab
