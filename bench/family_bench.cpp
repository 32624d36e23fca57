// ODLS types, families and the canonization of Latin squares through diagonal ones, each fast
// route beside its literal baseline on the same squares. On a shared machine compare CPU times
// and the best of the repetitions.
//
//   BM_GetOdls / BM_GetOdlsType / BM_GetOdlsTypeLiteral
//       1000 random DLS ("Random search v3", seeds 1..1000), one per iteration; the rates are
//       comparable (the type should cost about one fast mate search);
//   BM_GetOdlsTypeSpecial/i, BM_GetOdlsTypeLiteralSpecial/i
//       the type of embedded square i;
//   BM_CanonizeLsByDls/s, BM_CanonizeLsByDlsLiteral/s
//       "For one square only" on the random DLS of seed s, a fresh canonizer per square as the
//       command uses; BM_CanonizeLsByDlsSpecial/i on embedded square i;
//   BM_OdlsFamilyLines/route
//       "Get all ODLS family" on "1:10 based", the embedded square with the largest family
//       (12 members); route 0 fast, 1 literal.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "analysis/canonize_ls_by_dls.h"
#include "analysis/odls_type.h"
#include "cmd/family_commands.h"
#include "cover/odls.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "random_squares.h"

namespace dlslab {
namespace {

constexpr int kRandomSquares = 1000;
constexpr int kOneToTenBased = 13;

const std::vector<TLatinSquare>& random_squares() {
  static const std::vector<TLatinSquare> squares =
      bench::RandomDiagonalLatinSquares(kRandomSquares);
  return squares;
}

TLatinSquare special(int i) { return StringToSquare(kSpecialSquares[i].digits); }

void best_of_five(benchmark::internal::Benchmark* b) {
  b->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
      "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); },
      benchmark::StatisticUnit::kTime);
}

void BM_GetOdls(benchmark::State& state) {
  const std::vector<TLatinSquare>& squares = random_squares();
  OdlsSearch search;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.GetOdls(squares[i++ % squares.size()]).Count());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetOdls)->Apply(best_of_five);

void BM_GetOdlsType(benchmark::State& state) {
  const std::vector<TLatinSquare>& squares = random_squares();
  OdlsTypeEngine engine;
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(engine.GetOdlsType(squares[i++ % squares.size()]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetOdlsType)->Apply(best_of_five);

void BM_GetOdlsTypeLiteral(benchmark::State& state) {
  const std::vector<TLatinSquare>& squares = random_squares();
  OdlsTypeEngine engine;
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(engine.get_odls_type_literal(squares[i++ % squares.size()]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetOdlsTypeLiteral)->Apply(best_of_five);

void BM_GetOdlsTypeSpecial(benchmark::State& state) {
  const TLatinSquare square = special(static_cast<int>(state.range(0)));
  OdlsTypeEngine engine;
  for (auto _ : state) benchmark::DoNotOptimize(engine.GetOdlsType(square));
}
BENCHMARK(BM_GetOdlsTypeSpecial)->DenseRange(0, 19);

void BM_GetOdlsTypeLiteralSpecial(benchmark::State& state) {
  const TLatinSquare square = special(static_cast<int>(state.range(0)));
  OdlsTypeEngine engine;
  for (auto _ : state) benchmark::DoNotOptimize(engine.get_odls_type_literal(square));
}
BENCHMARK(BM_GetOdlsTypeLiteralSpecial)->DenseRange(0, 19);

void BM_CanonizeLsByDls(benchmark::State& state) {
  const TLatinSquare square = random_squares()[state.range(0) - 1];
  for (auto _ : state) {
    LsByDlsCanonizer canonizer;
    benchmark::DoNotOptimize(canonizer.CanonizeLsByDls(square, false, true).Count());
  }
}
BENCHMARK(BM_CanonizeLsByDls)->DenseRange(1, 15)->Unit(benchmark::kMillisecond);

void BM_CanonizeLsByDlsLiteral(benchmark::State& state) {
  const TLatinSquare square = random_squares()[state.range(0) - 1];
  for (auto _ : state) {
    LsByDlsCanonizer canonizer;
    benchmark::DoNotOptimize(canonizer.canonize_ls_by_dls_literal(square, false, true).Count());
  }
}
BENCHMARK(BM_CanonizeLsByDlsLiteral)
    ->DenseRange(1, 3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_CanonizeLsByDlsSpecial(benchmark::State& state) {
  const TLatinSquare square = special(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    LsByDlsCanonizer canonizer;
    benchmark::DoNotOptimize(canonizer.CanonizeLsByDls(square, false, false).Count());
  }
}
BENCHMARK(BM_CanonizeLsByDlsSpecial)
    ->DenseRange(0, 19)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_OdlsFamilyLines(benchmark::State& state) {
  const TLatinSquare square = special(kOneToTenBased);
  const cmd::Route route = state.range(0) == 0 ? cmd::Route::kFast : cmd::Route::kLiteral;
  for (auto _ : state) benchmark::DoNotOptimize(cmd::odls_family_lines(square, route).size());
}
BENCHMARK(BM_OdlsFamilyLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
