#include "bench/benchmark_runner.h"

#include <gtest/gtest.h>

#include <clocale>
#include <regex>
#include <vector>

#include "bench/bench_test_folder.h"
#include "bench/process.h"

namespace dlslab {
namespace {

TEST(FormatBenchmarkRate, TwoDecimalsOfTenSignificantDigits) {
  EXPECT_EQ(format_benchmark_rate(1234.5678), "1234.57");
  EXPECT_EQ(format_benchmark_rate(0.004), "0.00");
  EXPECT_EQ(format_benchmark_rate(7), "7.00");
  EXPECT_EQ(format_benchmark_rate(12345678.987), "12345678.99");
  EXPECT_EQ(format_benchmark_rate(123456789.987), "123456790.00");
  EXPECT_EQ(format_benchmark_rate(9999999999.5), "1E10");
  EXPECT_EQ(format_benchmark_rate(12345678901.0), "1.23456789E10");
}

TEST(FormatBenchmarkRate, UsesTheLocaleDecimalSeparator) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr)
    GTEST_SKIP() << "no locale with a decimal comma installed";
  const std::string text = format_benchmark_rate(1234.5);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text, "1234,50");
}

struct Outcome {
  bool ok;
  std::vector<std::string> log;
  int waits = 0;
};

Outcome run_with(const ScriptFolder& scripts, const BenchmarkTest& test, TFpDataCollection& data) {
  Outcome run{};
  BenchmarkHooks hooks;
  hooks.log = [&run](const std::string& line) { run.log.push_back(line); };
  hooks.while_waiting = [&run] { ++run.waits; };
  hooks.folder = scripts.program_folder();
  run.ok = RunBenchmark(test, data, hooks);
  return run;
}

TEST(RunBenchmark, RoundsOfOneToTwiceTheProcessorsWithTheirRates) {
  const ScriptFolder scripts("rounds");
  scripts.add_script("runa9", "sleep 0.02");
  TFpDataCollection data(0, 1);
  const Outcome run = run_with(scripts, {"runa9", 10000000, 1000, "k DLS/s"}, data);
  ASSERT_TRUE(run.ok);
  const int p = GetProcessorsCount();
  ASSERT_EQ(run.log.size(), static_cast<std::size_t>(2 * p + 2));
  EXPECT_EQ(run.log[0], std::to_string(p) + " processors found, " + std::to_string(2 * p) +
                            " tests will be launched");
  ASSERT_EQ(data.Count(), 2 * p);
  const std::regex round(R"((\d+) thread\(s\): (\d+\.\d\d)k DLS/s)");
  for (int k = 1; k <= 2 * p; ++k) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(run.log[k], m, round)) << run.log[k];
    EXPECT_EQ(m[1].str(), std::to_string(k));
    EXPECT_EQ(m[2].str(), format_benchmark_rate(data.values()[k - 1]));
    // A round of k copies of a 20 ms program: far below the 500 000 k DLS/s of an instant one.
    EXPECT_GT(data.values()[k - 1], 0);
    EXPECT_LT(data.values()[k - 1], k * 10000000 / 0.02 / 1000);
  }
  EXPECT_EQ(run.log.back(), "OK");
  EXPECT_GT(run.waits, 0);
}

TEST(RunBenchmark, MissingProgramStopsWithAClearLineAndNoRates) {
  const ScriptFolder scripts("missing");
  TFpDataCollection data(0, 1);
  const Outcome run = run_with(scripts, {"runb10", 5000, 1, " DLS/s"}, data);
  EXPECT_FALSE(run.ok);
  ASSERT_EQ(run.log.size(), 2u);
  EXPECT_EQ(run.log[1], "Test program runb10 could not be started from \"" +
                            scripts.program_folder() + "runb10\": No such file or directory");
  EXPECT_EQ(data.Count(), 0);
}

TEST(RunBenchmark, FailingRoundKeepsOnlyTheRatesBeforeIt) {
  const ScriptFolder scripts("later");
  // Succeeds alone, fails as soon as two copies run at once.
  const std::string lock = (scripts.path() / "lock").string();
  scripts.add_script("runa9pgo",
                     "mkdir '" + lock + "' 2>/dev/null || exit 4\nsleep 0.1\nrmdir '" + lock + "'");
  TFpDataCollection data(0, 1);
  const Outcome run = run_with(scripts, {"runa9pgo", 10000000, 1000, "k DLS/s"}, data);
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(data.Count(), 1);
  EXPECT_EQ(run.log.back(), "Test program runa9pgo (\"" + scripts.program_folder() +
                                "runa9pgo\") exited with code 4");
}

}  // namespace
}  // namespace dlslab
