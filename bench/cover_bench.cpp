// Diagonal transversals and orthogonal mate searches per second, on the twenty embedded
// squares and on 1000 random order-10 DLS ("Random search v3", seeds 1..1000). Every
// benchmark of a group walks the same squares in the same order, one square per iteration;
// the rate is the items_per_second column (squares per second). On a shared machine compare
// the _max rows: the best of five repetitions is the least disturbed by other load.
//
//   BM_GetTransversals / BM_GetTransversalsFast / BM_DiagonalTransversalsByDlx
//       the diagonal transversals by the plain search, the fast path and exact cover
//       (GetDiagonalTransversalsByDlx; BM_DiagonalTransversalsByDancingLinks: DlxSolve);
//   BM_GetOdls / BM_GetOdlsByDlx
//       complete mate searches, diagonal transversals included;
//   BM_FindMates
//       the mate search alone (OdlsSearch::FindMates) on transversal lists listed beforehand
//       (the 1000 random lists take some 4 MB, so they come from the last-level cache, where
//       in GetOdls the list was written just before);
//   BM_GetTransversalsFastOnPath / BM_GetOdlsOnPath
//       the fast path and the mate search on the random squares for each instruction-set path
//       (0 scalar, 1 AVX2, 2 AVX-512, 3 AVX-512 with VP2INTERSECT; a path the processor lacks
//       is skipped). The plain benchmarks above run on the path the program picked at start-up.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cover/odls.h"
#include "cover/transversals.h"
#include "model/isa_path.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "random_squares.h"

namespace dlslab {
namespace {

constexpr int kRandomSquares = 1000;

const std::vector<TLatinSquare>& random_squares() {
  static const std::vector<TLatinSquare> squares =
      bench::RandomDiagonalLatinSquares(kRandomSquares);
  return squares;
}

const std::vector<TLatinSquare>& special_squares() {
  static const std::vector<TLatinSquare> squares = [] {
    std::vector<TLatinSquare> out;
    for (const SpecialSquare& special : kSpecialSquares)
      out.push_back(StringToSquare(special.digits));
    return out;
  }();
  return squares;
}

const std::vector<TLatinSquare>& squares_of(const benchmark::State& state) {
  return state.range(0) == 0 ? special_squares() : random_squares();
}

/// Each fast path and its baseline on the embedded and on the random squares, repeated.
void configure(benchmark::internal::Benchmark* b) {
  b->Arg(0)->Arg(1)->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
      "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

void label(benchmark::State& state, std::size_t walked) {
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(state.range(0) == 0 ? "special" : "random");
  benchmark::DoNotOptimize(walked);
}

void BM_GetTransversals(benchmark::State& state) {
  const auto& squares = squares_of(state);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetTransversals(squares[i], true));
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_GetTransversals)->Apply(configure);

void BM_GetTransversalsFast(benchmark::State& state) {
  const auto& squares = squares_of(state);
  TransversalSearch search;
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  std::size_t i = 0;
  for (auto _ : state) {
    search.GetTransversalsFast(squares[i], true, starts, counts, table);
    benchmark::DoNotOptimize(table.Count());
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_GetTransversalsFast)->Apply(configure);

void BM_DiagonalTransversalsByDlx(benchmark::State& state) {
  const auto& squares = squares_of(state);
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetDiagonalTransversalsByDlx(squares[i]));
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_DiagonalTransversalsByDlx)->Apply(configure);

// The same covers through the dancing links (DlxSolve on the 100 x 32 matrix).
void BM_DiagonalTransversalsByDancingLinks(benchmark::State& state) {
  const auto& squares = squares_of(state);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        CoversToTransversals(DlxSolve(BuildTransversalCoverMatrix(squares[i]))));
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_DiagonalTransversalsByDancingLinks)->Apply(configure);

void BM_GetOdls(benchmark::State& state) {
  const auto& squares = squares_of(state);
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdls(squares[i]).Count());
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_GetOdls)->Apply(configure);

/// The diagonal transversal lists of some squares, listed once.
struct TransversalLists {
  std::vector<TTransversalStarts> starts;
  std::vector<TTransversalsTable> tables;
};

TransversalLists list_transversals(const std::vector<TLatinSquare>& squares) {
  TransversalLists lists;
  TransversalSearch search;
  TTransversalCounts counts{};
  for (const TLatinSquare& square : squares) {
    search.GetTransversalsFast(square, true, lists.starts.emplace_back(), counts,
                               lists.tables.emplace_back());
  }
  return lists;
}

const TransversalLists& transversal_lists_of(const benchmark::State& state) {
  static const TransversalLists special = list_transversals(special_squares());
  static const TransversalLists random = list_transversals(random_squares());
  return state.range(0) == 0 ? special : random;
}

void BM_FindMates(benchmark::State& state) {
  const TransversalLists& lists = transversal_lists_of(state);
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.FindMates(lists.starts[i], lists.tables[i]).Count());
    if (++i == lists.tables.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_FindMates)->Apply(configure);

void BM_GetOdlsByDlx(benchmark::State& state) {
  const auto& squares = squares_of(state);
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdlsByDlx(squares[i]).Count());
    if (++i == squares.size()) i = 0;
  }
  label(state, i);
}
BENCHMARK(BM_GetOdlsByDlx)->Apply(configure);

/// The random squares on every instruction-set path, repeated.
void configure_paths(benchmark::internal::Benchmark* b) {
  b->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
      "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

/// The path of the benchmark's argument, or nothing (and the benchmark skipped) when the
/// processor lacks it.
bool path_of(benchmark::State& state, IsaPath& path) {
  path = static_cast<IsaPath>(state.range(0));
  if (isa_path_supported(path)) return true;
  state.SkipWithError("this processor lacks the path");
  return false;
}

void BM_GetTransversalsFastOnPath(benchmark::State& state) {
  IsaPath path{};
  if (!path_of(state, path)) return;
  const auto& squares = random_squares();
  TransversalSearch search(path);
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  std::size_t i = 0;
  for (auto _ : state) {
    search.GetTransversalsFast(squares[i], true, starts, counts, table);
    benchmark::DoNotOptimize(table.Count());
    if (++i == squares.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::string(isa_path_name(path)));
}
BENCHMARK(BM_GetTransversalsFastOnPath)->Apply(configure_paths);

void BM_GetOdlsOnPath(benchmark::State& state) {
  IsaPath path{};
  if (!path_of(state, path)) return;
  const auto& squares = random_squares();
  OdlsSearch search(path);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdls(squares[i]).Count());
    if (++i == squares.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::string(isa_path_name(path)));
}
BENCHMARK(BM_GetOdlsOnPath)->Apply(configure_paths);

}  // namespace
}  // namespace dlslab
