// Canonical forms per second on 10,000 random order-10 DLS ("Random search v3", seeds
// 1..10000). Each benchmark walks the same squares in the same order; the rate is in the
// items_per_second column.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "canon/canon_baseline.h"
#include "canon/canonical_forms.h"
#include "canon/grid.h"
#include "model/isa_path.h"
#include "random_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

constexpr int kSquares = 10000;

const std::vector<TLatinSquare>& random_squares() {
  static const std::vector<TLatinSquare> squares = bench::RandomDiagonalLatinSquares(kSquares);
  return squares;
}

const std::vector<Grid>& random_grids() {
  static const std::vector<Grid> grids = [] {
    std::vector<Grid> out;
    for (const TLatinSquare& s : random_squares()) out.push_back(to_grid(s));
    return out;
  }();
  return grids;
}

template <class F>
void run_over_squares(benchmark::State& state, const F& f) {
  const auto& squares = random_squares();
  std::size_t i = 0;
  for (auto _ : state) {
    f(squares[i]);
    if (++i == squares.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GetCanonicalForm(benchmark::State& state) {
  CanonEngine engine;
  run_over_squares(
      state, [&](const TLatinSquare& s) { benchmark::DoNotOptimize(engine.GetCanonicalForm(s)); });
}
BENCHMARK(BM_GetCanonicalForm);

void canonical_forms_of_grids(benchmark::State& state, CanonEngine& engine) {
  const auto& grids = random_grids();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.canonical_form(grids[i]));
    if (++i == grids.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CanonicalFormOfGrid(benchmark::State& state) {
  CanonEngine engine;
  canonical_forms_of_grids(state, engine);
}
BENCHMARK(BM_CanonicalFormOfGrid);

// The same on each instruction-set path (0 scalar, 1 AVX2, 2 AVX-512; a path the processor
// lacks is skipped), best of five: the plain benchmarks run on the path picked at start-up.
void BM_CanonicalFormOnPath(benchmark::State& state) {
  const auto path = static_cast<IsaPath>(state.range(0));
  if (!isa_path_supported(path)) {
    state.SkipWithError("this processor lacks the path");
    return;
  }
  CanonEngine engine(path);
  canonical_forms_of_grids(state, engine);
  state.SetLabel(std::string(isa_path_name(path)));
}
BENCHMARK(BM_CanonicalFormOnPath)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    });

void BM_IsCanonicalForm(benchmark::State& state) {
  CanonEngine engine;
  run_over_squares(
      state, [&](const TLatinSquare& s) { benchmark::DoNotOptimize(engine.IsCanonicalForm(s)); });
}
BENCHMARK(BM_IsCanonicalForm);

// Squares with first row 0..9, so that the test has to search (almost all answer false).
void BM_IsCanonicalFormOfNormalized(benchmark::State& state) {
  static const std::vector<TLatinSquare> normalized = [] {
    std::vector<TLatinSquare> out = random_squares();
    for (TLatinSquare& s : out) NormalizeByFirstRow(s);
    return out;
  }();
  CanonEngine engine;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.IsCanonicalForm(normalized[i]));
    if (++i == normalized.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsCanonicalFormOfNormalized);

void BM_GetCanonicalFormByEnumeration(benchmark::State& state) {
  CanonEngine engine;
  run_over_squares(state, [&](const TLatinSquare& s) {
    benchmark::DoNotOptimize(engine.get_canonical_form_by_enumeration(s));
  });
}
BENCHMARK(BM_GetCanonicalFormByEnumeration);

void BM_CanonicalFormBruteForce(benchmark::State& state) {
  const auto& grids = random_grids();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(canonical_form_brute_force(grids[i]));
    if (++i == grids.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CanonicalFormBruteForce);

void BM_GetStrongCanonicalForm(benchmark::State& state) {
  CanonEngine engine;
  run_over_squares(state, [&](const TLatinSquare& s) {
    benchmark::DoNotOptimize(engine.GetStrongCanonicalForm(s));
  });
}
BENCHMARK(BM_GetStrongCanonicalForm);

}  // namespace
}  // namespace dlslab
