#include <benchmark/benchmark.h>

#include "cmd/generalized_symmetry_commands.h"
#include "cmd/model_commands.h"
#include "cmd/status.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "transform/generalized_symmetries.h"

namespace dlslab {
namespace {

// The catalogue square chosen by the benchmark's argument.
TLatinSquare Catalogue(const benchmark::State& state) {
  return StringToSquare(kSpecialSquares[state.range(0)].digits);
}

void BM_GetGeneralizedSymmetries(benchmark::State& state) {
  const TLatinSquare square = Catalogue(state);
  for (auto _ : state) benchmark::DoNotOptimize(get_generalized_symmetries(square));
}
BENCHMARK(BM_GetGeneralizedSymmetries)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The baseline tests all 9496 x 9496 pairs one by one.
void BM_GetGeneralizedSymmetriesByAllPairs(benchmark::State& state) {
  const TLatinSquare square = Catalogue(state);
  for (auto _ : state) benchmark::DoNotOptimize(get_generalized_symmetries_by_all_pairs(square));
}
BENCHMARK(BM_GetGeneralizedSymmetriesByAllPairs)
    ->Arg(0)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The whole command as the window runs it, log lines included.
void BM_PrintAllGeneralizedSymmetries(benchmark::State& state) {
  cmd::Context ctx;
  cmd::ImportSquareMenuItemClick(ctx, std::string(kSpecialSquares[state.range(0)].digits));
  for (auto _ : state) {
    cmd::PrintAllGeneralizedSymmetriesMenuItemClick(ctx);
    ctx.log.Clear();
  }
}
BENCHMARK(BM_PrintAllGeneralizedSymmetries)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// Every redraw rebuilds the status line.
void BM_GetStatusText(benchmark::State& state) {
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  model.SetFirstSquare(Catalogue(state));
  for (auto _ : state) benchmark::DoNotOptimize(cmd::get_status_text(model));
}
BENCHMARK(BM_GetStatusText)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dlslab
