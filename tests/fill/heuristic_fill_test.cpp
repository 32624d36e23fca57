#include "fill/heuristic_fill.h"

#include <gtest/gtest.h>

#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab {
namespace {

TLatinSquareClass model_of_order(int n) {
  TLatinSquareClass model;
  model.SetOrder(n);
  model.ClearSquares();
  return model;
}

TEST(GreedyFill, OrderTenRunsIntoTwentyThreeDeadEnds) {
  TLatinSquareClass model = model_of_order(10);
  model.FirstSquare[5][5] = 7;  // cleared first
  GreedyFill(model);
  const TLatinSquare& sq = model.FirstSquare;
  for (int c = 0; c < 10; ++c) EXPECT_EQ(sq[0][c], c);
  EXPECT_EQ(sq[1][0], 1);
  EXPECT_EQ(sq[1][1], 2);
  EXPECT_EQ(sq[1][2], 0);
  EXPECT_EQ(sq[1][3], 4);
  EXPECT_EQ(sq[1][4], 3);
  EXPECT_EQ(GetEmptyCellsCount(sq), 23);
  EXPECT_TRUE(IsDiagonalLatin(sq));
  const TLatinSquare first = sq;
  GreedyFill(model);
  EXPECT_EQ(model.FirstSquare, first);
}

TEST(RandomFillV2, MatchesTheBaselineSquareAndDraws) {
  for (const int n : {1, 2, 3, 5, 7, 10, 12, 30}) {
    // The baseline rescans the square for every candidate list: few seeds for large orders.
    const std::uint32_t seeds = n <= 10 ? 40 : 2;
    for (std::uint32_t seed = 0; seed < seeds; ++seed) {
      TLatinSquareClass fast = model_of_order(n);
      TLatinSquareClass plain = model_of_order(n);
      RandSeed = seed * 7919u;
      RandomFillV2(fast);
      const std::uint32_t after_fast = RandSeed;
      RandSeed = seed * 7919u;
      random_fill_v2_baseline(plain);
      ASSERT_EQ(fast.FirstSquare, plain.FirstSquare) << "n " << n << " seed " << seed;
      ASSERT_EQ(after_fast, RandSeed) << "n " << n << " seed " << seed;
    }
  }
}

TEST(RandomFillV2, MakesExactlyNSquaredDrawsAndKeepsTheRules) {
  TLatinSquareClass model = model_of_order(10);
  RandSeed = 12345;
  RandomFillV2(model);
  const std::uint32_t after = RandSeed;
  RandSeed = 12345;
  for (int i = 0; i < 100; ++i) Random(10);
  EXPECT_EQ(after, RandSeed);
  EXPECT_TRUE(IsDiagonalLatin(model.FirstSquare));
}

}  // namespace
}  // namespace dlslab
