#include <benchmark/benchmark.h>

#include <vector>

#include "cmd/crossword_commands.h"
#include "fill/puzzle_rating.h"

// The rating of crossword deals: the person-like solver alone on dealt puzzles, and the dealer
// that looks from a game number on for a deal of a given difficulty. The counters say how many
// game numbers the dealer tried per deal and how many clues the deal has.
namespace dlslab {
namespace {

void BM_RatePuzzle(benchmark::State& state) {
  std::vector<TLatinSquare> puzzles;
  for (std::uint32_t seed = 1; seed <= 100; ++seed)
    puzzles.push_back(cmd::plain_deal_of(seed).puzzle);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rate_puzzle(puzzles[i]));
    i = (i + 1) % puzzles.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RatePuzzle);

/// Range 0 easy, 1 medium, 2 hard: the crossword's dealer of that difficulty from game numbers
/// 1, 1001, 2001 ...
void BM_DealOfDifficulty(benchmark::State& state) {
  const auto target = static_cast<Difficulty>(state.range(0));
  std::uint32_t from = 1;
  double tried = 0, clues = 0, deals = 0;
  for (auto _ : state) {
    const cmd::RatedDeal deal = cmd::deal_of_difficulty(from, target);
    tried += deal.numbers_tried;
    for (int cell = 0; cell < deal.puzzle.size(); ++cell) clues += deal.puzzle.data()[cell] >= 0;
    ++deals;
    from += 1000;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["numbers_per_deal"] = tried / deals;
  state.counters["clues"] = clues / deals;
}
BENCHMARK(BM_DealOfDifficulty)->DenseRange(0, 2)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dlslab
