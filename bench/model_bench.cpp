#include <benchmark/benchmark.h>

#include "model/ls_data_structs.h"

namespace dlslab {
namespace {

constexpr const char* kSquare =
    "0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982"
    "760431";

void BM_IsDiagonalLatin(benchmark::State& state) {
  const TLatinSquare square = StringToSquare(kSquare);
  for (auto _ : state) benchmark::DoNotOptimize(IsDiagonalLatin(square));
}
BENCHMARK(BM_IsDiagonalLatin);

void BM_StringToSquare(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StringToSquare(kSquare));
}
BENCHMARK(BM_StringToSquare);

}  // namespace
}  // namespace dlslab
