#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "fill/brown_dls.h"
#include "fill/clue_sets.h"
#include "fill/fillings.h"
#include "fill/heuristic_fill.h"
#include "fill/random_search_v3.h"
#include "fill/switch_chain.h"
#include "model/diagnostics.h"
#include "model/isa_path.h"
#include "model/random.h"
#include "random_squares.h"

namespace dlslab {
namespace {

constexpr int kGames = 200;

/// The DLS of seed 777 with its last 57 cells emptied: 51112 fillings.
TLatinSquare ManyFillings() {
  TLatinSquare sq = bench::RandomDiagonalLatinSquare(777);
  for (int i = 100 - 57; i < 100; ++i) sq.data()[i] = kEmpty;
  return sq;
}

/// A final clue set of the random reduction: exactly one filling, every clue needed.
TLatinSquare FinalClueSet() {
  const TLatinSquare dls = bench::RandomDiagonalLatinSquare(2024);
  RandSeed = 2024;
  return GetDominatingSetRandom(dls);
}

void BM_GetFillingsCount(benchmark::State& state) {
  set_diag_stream(nullptr);
  const TLatinSquare sq = ManyFillings();
  std::uint64_t fillings = 0;
  for (auto _ : state) {
    const std::uint64_t count = GetFillingsCount(sq);
    benchmark::DoNotOptimize(count);
    fillings += count;
  }
  state.counters["fillings/s"] =
      benchmark::Counter(static_cast<double>(fillings), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetFillingsCount)->Unit(benchmark::kMillisecond);

void BM_GetFillingsCountBaseline(benchmark::State& state) {
  set_diag_stream(nullptr);
  const TLatinSquare sq = ManyFillings();
  FillingsSearch search;
  std::uint64_t fillings = 0;
  for (auto _ : state) {
    const std::uint64_t count = search.GetFillingsCount(sq);
    benchmark::DoNotOptimize(count);
    fillings += count;
  }
  state.counters["fillings/s"] =
      benchmark::Counter(static_cast<double>(fillings), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetFillingsCountBaseline)->Unit(benchmark::kMillisecond);

void BM_CountOneFilling(benchmark::State& state) {
  const TLatinSquare sq = FinalClueSet();
  for (auto _ : state) benchmark::DoNotOptimize(GetFillingsCount(sq));
}
BENCHMARK(BM_CountOneFilling)->Unit(benchmark::kMicrosecond);

void BM_CountOneFillingBaseline(benchmark::State& state) {
  const TLatinSquare sq = FinalClueSet();
  FillingsSearch search;
  for (auto _ : state) benchmark::DoNotOptimize(search.GetFillingsCount(sq));
}
BENCHMARK(BM_CountOneFillingBaseline)->Unit(benchmark::kMicrosecond);

// The uniqueness test of the clue-set reductions on a final clue set (the slowest kind: the
// whole tree must be searched to prove there is no second filling).
void BM_HasOneFilling(benchmark::State& state) {
  const TLatinSquare sq = FinalClueSet();
  for (auto _ : state) benchmark::DoNotOptimize(has_one_filling(sq));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HasOneFilling)->Unit(benchmark::kMicrosecond);

/// The final clue sets of the games of seeds 1..500, dealt as "New game" does after seeding.
const std::vector<TLatinSquare>& final_clue_sets() {
  static const std::vector<TLatinSquare> sets = [] {
    std::vector<TLatinSquare> out;
    for (std::uint32_t seed = 1; seed <= 500; ++seed) {
      cmd::Context ctx;
      RandSeed = seed;
      cmd::RandomSearchV3MenuItemClick(ctx);
      out.push_back(GetDominatingSetRandom(ctx.model.FirstSquare));
    }
    return out;
  }();
  return sets;
}

/// The uniqueness test over the final clue sets of 500 deals, one set per iteration.
template <class Unique>
void unique_over_500_deals(benchmark::State& state, const Unique& unique) {
  const std::vector<TLatinSquare>& sets = final_clue_sets();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(unique(sets[i]));
    if (++i == sets.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_HasOneFillingOf500Deals(benchmark::State& state) {
  unique_over_500_deals(state, [](const TLatinSquare& s) { return has_one_filling(s); });
}
BENCHMARK(BM_HasOneFillingOf500Deals)->Unit(benchmark::kMicrosecond);

// The same on each instruction-set path (0 scalar, 1 AVX2, 2 AVX-512; a path the processor
// lacks is skipped), best of five: the plain benchmark runs on the path picked at start-up.
void BM_HasOneFillingOf500DealsOnPath(benchmark::State& state) {
  const auto path = static_cast<IsaPath>(state.range(0));
  if (!isa_path_supported(path)) {
    state.SkipWithError("this processor lacks the path");
    return;
  }
  unique_over_500_deals(
      state, [path](const TLatinSquare& s) { return count_fillings_up_to(s, 2, path) == 1; });
  state.SetLabel(std::string(isa_path_name(path)));
}
BENCHMARK(BM_HasOneFillingOf500DealsOnPath)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    });

void BM_HasOneFillingBaseline(benchmark::State& state) {
  const TLatinSquare sq = FinalClueSet();
  FillingsSearch search;
  for (auto _ : state) benchmark::DoNotOptimize(search.GetFillingsCount(sq) == 1);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HasOneFillingBaseline)->Unit(benchmark::kMicrosecond);

/// Deals the games of seeds 1..kGames as "New game" does after seeding; reports the median.
template <TLatinSquare (*Reduce)(const TLatinSquare&)>
void DealGames(benchmark::State& state, int games) {
  std::vector<double> ms;
  std::uint32_t seed = 0;
  for (auto _ : state) {
    seed = seed % static_cast<std::uint32_t>(games) + 1;
    cmd::Context ctx;
    const auto start = std::chrono::steady_clock::now();
    RandSeed = seed;
    cmd::RandomSearchV3MenuItemClick(ctx);
    const TLatinSquare puzzle = Reduce(ctx.model.FirstSquare);
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(puzzle);
    ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms.empty() ? 0.0 : ms[ms.size() / 2];
}

void BM_DealGame(benchmark::State& state) { DealGames<GetDominatingSetRandom>(state, kGames); }
BENCHMARK(BM_DealGame)->Iterations(kGames)->Unit(benchmark::kMillisecond);

// The literal route counts every filling of every tried square: a handful of games only.
void BM_DealGameBaseline(benchmark::State& state) {
  DealGames<get_dominating_set_random_baseline>(state, kGames);
}
BENCHMARK(BM_DealGameBaseline)->Iterations(5)->Unit(benchmark::kMillisecond);

template <void (*Fill)(TLatinSquareClass&)>
void FillRepeatedly(benchmark::State& state) {
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  RandSeed = 1;
  for (auto _ : state) {
    Fill(model);
    benchmark::DoNotOptimize(model.FirstSquare);
  }
}

void BM_RandomFillV2(benchmark::State& state) { FillRepeatedly<RandomFillV2>(state); }
BENCHMARK(BM_RandomFillV2)->Unit(benchmark::kMicrosecond);

void BM_RandomFillV2Baseline(benchmark::State& state) {
  FillRepeatedly<random_fill_v2_baseline>(state);
}
BENCHMARK(BM_RandomFillV2Baseline)->Unit(benchmark::kMicrosecond);

// The squares of dlslab-cli generate: seeds 1, 2, 3, ... one square per iteration.
template <class Fill>
void GenerateRsv3(benchmark::State& state, const Fill& fill) {
  std::uint32_t seed = 0;
  for (auto _ : state) benchmark::DoNotOptimize(fill(++seed));
  state.SetItemsProcessed(state.iterations());
}

void BM_RandomSearchV3Square(benchmark::State& state) {
  GenerateRsv3(state, [](std::uint32_t seed) { return random_search_v3_square(seed); });
}
BENCHMARK(BM_RandomSearchV3Square)->Unit(benchmark::kMicrosecond);

void BM_RandomSearchV3SquareBaseline(benchmark::State& state) {
  GenerateRsv3(state, random_search_v3_square_baseline);
}
BENCHMARK(BM_RandomSearchV3SquareBaseline)->Unit(benchmark::kMicrosecond);

// On each instruction-set path (0 scalar, 1 AVX2, 2 AVX-512), best of five.
void BM_RandomSearchV3SquareOnPath(benchmark::State& state) {
  const auto path = static_cast<IsaPath>(state.range(0));
  if (!isa_path_supported(path)) {
    state.SkipWithError("this processor lacks the path");
    return;
  }
  GenerateRsv3(state, [path](std::uint32_t seed) { return random_search_v3_square(seed, path); });
  state.SetLabel(std::string(isa_path_name(path)));
}
BENCHMARK(BM_RandomSearchV3SquareOnPath)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    });

void BM_BrownDlsSquare(benchmark::State& state) {
  GenerateRsv3(state, [](std::uint32_t seed) { return brown_dls_square(seed); });
}
BENCHMARK(BM_BrownDlsSquare)->Unit(benchmark::kMicrosecond);

// Squares of search --generator switch as one thread takes them: the i-th is seed_of(i).
template <class SeedOf>
void switch_chain_squares(benchmark::State& state, const SeedOf& seed_of) {
  SwitchChain chain;
  TLatinSquare square(kOrder);
  std::uint64_t i = 0;
  for (auto _ : state) {
    chain.square(seed_of(i++), square);
    benchmark::DoNotOptimize(square.data());
  }
  state.SetItemsProcessed(state.iterations());
}

// Seeds 0, 1, 2, ..., each one switch past the one before (and a fresh rsv3 square every
// kSwitchRunLength seeds).
void BM_SwitchChainSquare(benchmark::State& state) {
  switch_chain_squares(state, [](std::uint64_t i) { return i; });
}
BENCHMARK(BM_SwitchChainSquare)->Unit(benchmark::kMicrosecond);

// As one of two search threads sees them: every other block of 256 seeds, so that each block
// is walked to from the one before it in its run, or from the run's start.
void BM_SwitchChainSquareEveryOtherBlock(benchmark::State& state) {
  switch_chain_squares(state, [](std::uint64_t i) { return i / 256 * 512 + i % 256; });
}
BENCHMARK(BM_SwitchChainSquareEveryOtherBlock)->Unit(benchmark::kMicrosecond);

// End to end: a square from the generator, then its mates; hits = squares with a mate.
template <class Make>
void GenerateAndCheck(benchmark::State& state, const Make& make) {
  OdlsSearch search;
  std::uint32_t seed = 0;
  std::int64_t hits = 0;
  for (auto _ : state) {
    const TOrthogonalSquares mates = search.GetOdls(make(++seed));
    hits += mates.Count() > 0 ? 1 : 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["hits_per_million"] =
      1e6 * static_cast<double>(hits) /
      static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
}

void BM_RandomSearchV3SquareAndMates(benchmark::State& state) {
  GenerateAndCheck(state, [](std::uint32_t seed) { return random_search_v3_square(seed); });
}
BENCHMARK(BM_RandomSearchV3SquareAndMates)->Unit(benchmark::kMicrosecond);

void BM_RandomSearchV3SquareBaselineAndMates(benchmark::State& state) {
  GenerateAndCheck(state, random_search_v3_square_baseline);
}
BENCHMARK(BM_RandomSearchV3SquareBaselineAndMates)->Unit(benchmark::kMicrosecond);

void BM_BrownDlsSquareAndMates(benchmark::State& state) {
  GenerateAndCheck(state, [](std::uint32_t seed) { return brown_dls_square(seed); });
}
BENCHMARK(BM_BrownDlsSquareAndMates)->Unit(benchmark::kMicrosecond);

void BM_SwitchChainSquareAndMates(benchmark::State& state) {
  SwitchChain chain;
  TLatinSquare square(kOrder);
  GenerateAndCheck(state, [&](std::uint32_t seed) {
    chain.square(seed, square);
    return square;
  });
}
BENCHMARK(BM_SwitchChainSquareAndMates)->Unit(benchmark::kMicrosecond);

// The mate check alone on 2,000 squares of each generator (0: rsv3 seeds 1.., 1: switch seeds
// 0..), with the mean number of diagonal transversals: the check's time follows it, so it sets
// the end-to-end rate of a generator as fast as switch.
void BM_GetOdlsOnGeneratorSquares(benchmark::State& state) {
  std::vector<TLatinSquare> squares;
  SwitchChain chain;
  for (std::uint32_t i = 0; i < 2000; ++i) {
    if (state.range(0) == 0) {
      squares.push_back(random_search_v3_square(i + 1));
    } else {
      squares.emplace_back(kOrder);
      chain.square(i, squares.back());
    }
  }
  TransversalSearch transversals;
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  double total = 0;
  for (const TLatinSquare& square : squares) {
    transversals.GetTransversalsFast(square, true, starts, counts, table);
    total += table.Count();
  }
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdls(squares[i]).Count());
    if (++i == squares.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(state.range(0) == 0 ? "rsv3" : "switch");
  state.counters["diagonal_transversals"] = total / static_cast<double>(squares.size());
}
BENCHMARK(BM_GetOdlsOnGeneratorSquares)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dlslab
