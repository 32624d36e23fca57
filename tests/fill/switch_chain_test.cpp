#include "fill/switch_chain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fill/random_search_v3.h"
#include "model/isa_path.h"
#include "model/ls_data_structs.h"

namespace dlslab {
namespace {

constexpr std::uint64_t kLastSeed = kSwitchRuns * kSwitchRunLength - 1;

std::string digits_of(SwitchChain& chain, std::uint64_t seed) {
  TLatinSquare square(kOrder);
  chain.square(seed, square);
  return SquareToString(square, false);
}

/// What one step of a run changed: the rows, columns and old symbols of the cells that differ.
struct Change {
  int cells = 0;
  std::uint32_t rows = 0, columns = 0, symbols = 0;
};

Change change_between(const TLatinSquare& before, const TLatinSquare& after) {
  Change change;
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      if (before[r][c] == after[r][c]) continue;
      ++change.cells;
      change.rows |= 1u << r;
      change.columns |= 1u << c;
      change.symbols |= 1u << before[r][c];
    }
  }
  return change;
}

TEST(SwitchChain, EachStepOfARunIsOneCycleSwitchToAnotherDls) {
  SwitchChain chain;
  int row_cycles = 0, column_cycles = 0, symbol_cycles = 0;
  for (const std::uint64_t run : {std::uint64_t{0}, std::uint64_t{77}, kSwitchRuns - 1}) {
    SCOPED_TRACE("run " + std::to_string(run));
    TLatinSquare before = random_search_v3_square(static_cast<std::uint32_t>(run));
    std::set<std::string> distinct;
    for (std::uint64_t k = 0; k < kSwitchRunLength; ++k) {
      TLatinSquare square(kOrder);
      chain.square(run * kSwitchRunLength + k, square);
      ASSERT_TRUE(IsFilled(square) && IsDiagonalLatin(square)) << "step " << k;
      // Two lines (or symbols) trade values along a cycle of 2 to 9 cells each: never the
      // same square, never two whole lines exchanged.
      const Change change = change_between(before, square);
      ASSERT_GE(change.cells, 4) << "step " << k;
      ASSERT_LE(change.cells, 18) << "step " << k;
      const int rows = std::popcount(change.rows), columns = std::popcount(change.columns),
                symbols = std::popcount(change.symbols);
      ASSERT_TRUE(rows == 2 || columns == 2 || symbols == 2) << "step " << k;
      if (rows == 2 && columns > 2) ++row_cycles;
      if (columns == 2 && rows > 2) ++column_cycles;
      if (symbols == 2 && rows > 2 && columns > 2) ++symbol_cycles;
      distinct.insert(SquareToString(square, false));
      before = square;
    }
    // A step may undo the one before it, but a run does not go round in circles.
    EXPECT_GT(distinct.size(), kSwitchRunLength * 9 / 10);
  }
  EXPECT_GT(row_cycles, 100);
  EXPECT_GT(column_cycles, 100);
  EXPECT_GT(symbol_cycles, 100);
}

TEST(SwitchChain, SeedsInAnyOrderGiveTheSquaresOfTheWalk) {
  // Seeds over two run boundaries, walked in order by one chain.
  const std::uint64_t first = kSwitchRunLength - 300;
  const std::uint64_t count = kSwitchRunLength + 600;
  SwitchChain walk;
  std::vector<std::string> walked;
  for (std::uint64_t s = first; s < first + count; ++s) walked.push_back(digits_of(walk, s));
  // The same seeds shuffled, as threads taking blocks in any order ask for them: each seed
  // either a step on from the last one of its run or walked to again from its run's start.
  std::vector<std::uint64_t> shuffled;
  for (std::uint64_t s = first; s < first + count; ++s) shuffled.push_back(s);
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
  SwitchChain chain;
  for (const std::uint64_t s : shuffled)
    ASSERT_EQ(digits_of(chain, s), walked[s - first]) << "seed " << s;
  // Blocks of consecutive seeds taken out of order, and a seed asked for twice in a row.
  for (const std::uint64_t block : {4, 0, 5, 1, 3}) {
    for (std::uint64_t s = first + block * 256; s < first + std::min(count, block * 256 + 256); ++s)
      ASSERT_EQ(digits_of(chain, s), walked[s - first]) << "seed " << s;
  }
  EXPECT_EQ(digits_of(chain, first + 5), walked[5]);
  EXPECT_EQ(digits_of(chain, first + 5), walked[5]);
  EXPECT_EQ(SquareToString(switch_chain_square(first + 400), false), walked[400]);
}

TEST(SwitchChain, FixedSeedsGiveFixedSquaresOnEveryPath) {
  // A change of the draws, the switches or the run length changes what a seed names.
  struct Pinned {
    std::uint64_t seed;
    std::string digits;
  };
  const std::vector<Pinned> pinned = {
      {0,
       "3794218560420938615790716238451958472306564019728301267594382863540719831590467274328650916"
       "587031924"},
      {kSwitchRunLength * 5 + 1000,
       "9317086542067352491832481597604052978136186473025979856014238139265074650184239724903176855"
       "726493801"},
      {kLastSeed,
       "3980416752047569218323640875917528960314523914860748017259366153879240871635402916925034789"
       "047231865"},
  };
  for (const IsaPath path : supported_isa_paths()) {
    SwitchChain chain(path);
    for (const Pinned& p : pinned)
      EXPECT_EQ(digits_of(chain, p.seed), p.digits) << isa_path_name(path) << " seed " << p.seed;
  }
  // A run's first square is one switch from its rsv3 square, not that square itself.
  SwitchChain chain;
  EXPECT_NE(digits_of(chain, 3 * kSwitchRunLength),
            SquareToString(random_search_v3_square(3), false));
}

}  // namespace
}  // namespace dlslab
