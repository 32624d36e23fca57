// Batch work beside the engines it drives, on the same 2,000 random order-10 DLS ("Random
// search v3", seeds 1..2000): the single-square engine rate (BM_*Engine) against a whole
// batch run over a file of those squares written over and over (BM_Batch*, 20,000 squares for
// cf and 4,000 for odls, so that starting the threads and engines weighs as little as in a long
// run), items_per_second in both. The batch
// runs measure the process's CPU time, so their rate is per thread busy and reading, parsing,
// ordering and writing count against it; the /real_time runs give the wall-clock rate, whose
// ratio between 2 and 1 threads is the scaling.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "batch/batch_run.h"
#include "canon/canonical_forms.h"
#include "canon/grid.h"
#include "cover/odls.h"
#include "model/ls_data_structs.h"
#include "random_squares.h"

namespace dlslab {
namespace {

constexpr int kSquares = 2000;

const std::vector<TLatinSquare>& squares() {
  static const std::vector<TLatinSquare> all = bench::RandomDiagonalLatinSquares(kSquares);
  return all;
}

// The squares `repeats` times over as a file of digit-string lines, removed at exit.
class SquaresFile {
 public:
  explicit SquaresFile(int repeats)
      : name_((std::filesystem::temp_directory_path() /
               ("dlslab_batch_bench_" + std::to_string(::getpid()) + "_" + std::to_string(repeats) +
                ".txt"))
                  .string()),
        count_(repeats * kSquares) {
    std::ofstream out(name_);
    for (int k = 0; k < repeats; ++k)
      for (const TLatinSquare& s : squares()) out << SquareToString(s, false) << '\n';
  }
  ~SquaresFile() {
    std::error_code ec;
    std::filesystem::remove(name_, ec);
  }
  [[nodiscard]] const std::string& name() const { return name_; }
  [[nodiscard]] std::uint64_t count() const { return count_; }

 private:
  std::string name_;
  std::uint64_t count_;
};

void BM_CanonicalFormEngine(benchmark::State& state) {
  CanonEngine engine;
  std::vector<Grid> grids;
  for (const TLatinSquare& s : squares()) grids.push_back(to_grid(s));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.canonical_form(grids[i]));
    if (++i == grids.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CanonicalFormEngine);

void BM_GetOdlsEngine(benchmark::State& state) {
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdls(squares()[i]).Count());
    if (++i == squares().size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetOdlsEngine);

void run_batch(benchmark::State& state, batch::Operation operation, const SquaresFile& file) {
  batch::BatchOptions options;
  options.operation = operation;
  options.inputs = {file.name()};
  options.threads = static_cast<unsigned>(state.range(0));
  options.format = batch::OutputFormat::kTsv;
  const std::atomic<bool> stop{false};
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    batch::Reporter reporter(err, batch::Reporter::ProgressMode::kNone);
    const batch::BatchSummary summary = batch::run_batch(options, out, reporter, stop);
    if (summary.done != file.count()) state.SkipWithError("short run");
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(file.count()));
}

void BM_BatchCf(benchmark::State& state) {
  static const SquaresFile file(10);
  run_batch(state, batch::Operation::kCf, file);
}
BENCHMARK(BM_BatchCf)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchCf)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_BatchOdls(benchmark::State& state) {
  static const SquaresFile file(2);
  run_batch(state, batch::Operation::kOdls, file);
}
BENCHMARK(BM_BatchOdls)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchOdls)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
