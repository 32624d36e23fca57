#include "cmd/fill_commands.h"

#include <gtest/gtest.h>

#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

class FillCommandsTest : public ::testing::Test {
 protected:
  Context ctx;
};

TEST_F(FillCommandsTest, RandomSearchV3LogsTheAttemptAndLeavesACompleteDls) {
  RandSeed = 12345;
  RandomSearchV3MenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 1u);
  EXPECT_EQ(ctx.log.lines()[0], "Random search v3: square was filled from 5 try");
  EXPECT_TRUE(IsFilled(ctx.model.FirstSquare));
  EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare));
  EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false),
            "4710325869256103794834965027819182750634807561429359248731061603298457085946137272"
            "389460156347189520");
}

TEST_F(FillCommandsTest, RandomSearchV3SucceedsAtOnceForOrderOne) {
  SetOrderMenuItemClick(ctx, 1);
  RandomSearchV3MenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 1u);
  EXPECT_EQ(ctx.log.lines()[0], "Random search v3: square was filled from 1 try");
  EXPECT_EQ(ctx.model.FirstSquare[0][0], 0);
}

TEST_F(FillCommandsTest, RandomSearchV3GivesUpSilentlyWithoutADls) {
  for (const int n : {2, 3}) {
    SetOrderMenuItemClick(ctx, n);
    int views = 0;
    ctx.update_view = [&views] { ++views; };
    const std::uint32_t seed = RandSeed;
    RandomSearchV3MenuItemClick(ctx);
    EXPECT_TRUE(ctx.log.lines().empty());
    EXPECT_EQ(views, 1);
    EXPECT_GT(ctx.model.GetEmptyCellsCount(), 0);
    // 1000 attempts of n * n draws each.
    std::uint32_t expected = seed;
    for (int i = 0; i < 1000 * n * n; ++i) expected = expected * 134775813u + 1u;
    EXPECT_EQ(RandSeed, expected);
  }
}

TEST_F(FillCommandsTest, SearchesRefuseOtherOrdersAndChangeNothing) {
  SetOrderMenuItemClick(ctx, 9);
  GreedyMenuItemClick(ctx);
  const TLatinSquare before = ctx.model.FirstSquare;
  for (auto* command :
       {GetFillingsCountMenuItemClick, GetFirstFillingMenuItemClick,
        GetDominatingSetBackwardMenuItemClick, GetDominatingSetRandomMenuItemClick}) {
    ctx.log.Clear();
    const std::uint32_t seed = RandSeed;
    command(ctx);
    ASSERT_EQ(ctx.log.lines().size(), 1u);
    EXPECT_EQ(ctx.log.lines()[0], "Not implemented for N<>10");
    EXPECT_EQ(ctx.model.FirstSquare, before);
    EXPECT_EQ(RandSeed, seed);
  }
}

TEST_F(FillCommandsTest, GetFillingsCountLogsTheCountAndKeepsTheSquare) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.model.FirstSquare[0][0] = kEmpty;
  ctx.model.FirstSquare[9][9] = kEmpty;
  const TLatinSquare before = ctx.model.FirstSquare;
  GetFillingsCountMenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 1u);
  EXPECT_EQ(ctx.log.lines()[0], "Fillings count: 1");
  EXPECT_EQ(ctx.model.FirstSquare, before);
}

TEST_F(FillCommandsTest, ReductionsLogTheNumberOfCluesLeft) {
  for (auto* command :
       {GetDominatingSetBackwardMenuItemClick, GetDominatingSetRandomMenuItemClick}) {
    ImportSquareMenuItemClick(ctx, test::kBachelor);
    ctx.log.Clear();
    command(ctx);
    const int clues = 100 - ctx.model.GetEmptyCellsCount();
    ASSERT_EQ(ctx.log.lines().size(), 1u);
    EXPECT_EQ(ctx.log.lines()[0], "Dominating set cardinality: " + std::to_string(clues));
    EXPECT_LT(clues, 50);
  }
}

}  // namespace
}  // namespace dlslab::cmd
