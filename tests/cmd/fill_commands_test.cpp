#include "cmd/fill_commands.h"

#include <gtest/gtest.h>

#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

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

TEST_F(FillCommandsTest, RandomSearchV1ClearsThePairAndFillsOnlyTheFirstSquare) {
  ctx.model.SecondSquare[3][3] = 4;
  RandomSearchV1MenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 0);
  EXPECT_EQ(GetEmptyCellsCount(ctx.model.SecondSquare), 100);
}

}  // namespace
}  // namespace dlslab::cmd
