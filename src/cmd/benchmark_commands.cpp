#include "cmd/benchmark_commands.h"

#include <string>

#include "bench/benchmark_runner.h"
#include "bench/fp_data_collection.h"
#include "model/error.h"

namespace dlslab::cmd {
namespace {

// Every run of an order-9 generator counts as ten million squares, every run of the order-10
// mate search as five thousand.
constexpr double kDls9PerRun = 10000000;
constexpr double kOdls10PerRun = 5000;

void run_benchmark_command(Context& ctx, const std::string& first_line, const BenchmarkTest& test,
                           const std::string& data_file) {
  TFpDataCollection data(0, 1);
  ctx.log.Add(first_line);
  std::string last_line;
  BenchmarkHooks hooks;
  hooks.log = [&ctx, &last_line](const std::string& line) {
    ctx.log.Add(line);
    last_line = line;
  };
  hooks.while_waiting = ctx.process_events;
  hooks.folder = ctx.test_program_folder;
  if (!RunBenchmark(test, data, hooks)) throw Error(last_line);
  data.SaveToFile(data_file);
}

}  // namespace

void GenerateDls9MenuItemClick(Context& ctx) {
  run_benchmark_command(ctx, "Base test", {"runa9", kDls9PerRun, 1000, "k DLS/s"}, "runa9.dat");
}

void GenerateDls9PgoMenuItemClick(Context& ctx) {
  run_benchmark_command(ctx, "PGO test", {"runa9pgo", kDls9PerRun, 1000, "k DLS/s"},
                        "runa9pgo.dat");
}

void ODLS10DLXGenClick(Context& ctx) {
  run_benchmark_command(ctx, "Base test", {"runb10", kOdls10PerRun, 1, " DLS/s"}, "runb10.dat");
}

}  // namespace dlslab::cmd
