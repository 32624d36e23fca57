#include "cmd/fill_commands.h"

#include <gtest/gtest.h>

#include "cmd/menu_test_util.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

using test::run_menu;

class FillCommandsTest : public ::testing::Test {
 protected:
  FillCommandsTest() {
    ctx.update_view = [this] { ++redraws; };
  }
  /// Every empty cell of the first square is a dead end: no value fits it any more.
  void expect_empty_cells_have_no_candidates() const {
    const TLatinSquare& sq = ctx.model.FirstSquare;
    for (int i = 0; i < sq.order(); ++i)
      for (int j = 0; j < sq.order(); ++j)
        if (sq[i][j] < 0) {
          EXPECT_TRUE(TLatinSquareClass::GetCandidates(sq, i, j).empty()) << i << ' ' << j;
        }
  }
  Context ctx;
  int redraws = 0;
};

/// The generator's state after `draws` more draws.
std::uint32_t advanced(std::uint32_t seed, int draws) {
  for (int i = 0; i < draws; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

TEST_F(FillCommandsTest, GreedyTakesTheSmallestCandidateOfEachCell) {
  ImportPairMenuItemClick(ctx, std::string(200, '3'));
  run_menu(ctx, "Greedy");
  const std::string digits = SquareToString(ctx.model.FirstSquare, false);
  EXPECT_EQ(digits.substr(0, 15), "012345678912043");
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 23);
  EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare));
  expect_empty_cells_have_no_candidates();
  EXPECT_EQ(GetEmptyCellsCount(ctx.model.SecondSquare), 100);  // the model was cleared
  EXPECT_EQ(redraws, 2);
}

TEST_F(FillCommandsTest, RandomSearchV1DrawsEveryCellInRowMajorOrder) {
  SetOrderMenuItemClick(ctx, 7);
  ctx.model.SecondSquare[2][2] = 5;
  RandSeed = 99;
  run_menu(ctx, "Random search v1");
  std::uint32_t seed = 99;
  for (int i = 0; i < 7; ++i)
    for (int j = 0; j < 7; ++j) {
      seed = advanced(seed, 1);
      EXPECT_EQ(ctx.model.FirstSquare[i][j], static_cast<int>((7ull * seed) >> 32));
    }
  EXPECT_EQ(RandSeed, seed);
  EXPECT_EQ(GetEmptyCellsCount(ctx.model.SecondSquare), 49);
}

// "Random search v3" from the seed 12345 succeeds at its fifth attempt (the test below), so
// five single attempts from that seed fail four times and then give its square.
TEST_F(FillCommandsTest, RandomSearchV2IsOneAttemptOfV3) {
  RandSeed = 12345;
  for (int attempt = 1; attempt <= 5; ++attempt) {
    SCOPED_TRACE(attempt);
    const std::uint32_t seed = RandSeed;
    ctx.model.SecondSquare[0][0] = 1;
    run_menu(ctx, "Random search v2");
    EXPECT_EQ(RandSeed, advanced(seed, 100));  // one draw per cell
    EXPECT_EQ(ctx.model.SecondSquare[0][0], kEmpty);
    EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare));
    expect_empty_cells_have_no_candidates();
    EXPECT_EQ(ctx.model.GetEmptyCellsCount() == 0, attempt == 5);
  }
  EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false),
            "4710325869256103794834965027819182750634807561429359248731061603298457085946137272"
            "389460156347189520");
  EXPECT_TRUE(ctx.log.lines().empty());
  EXPECT_EQ(redraws, 5);
}

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
  int views = 0;  // outlives the hook, which stays in the context
  for (const int n : {2, 3}) {
    SetOrderMenuItemClick(ctx, n);
    views = 0;
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

TEST_F(FillCommandsTest, SearchesRefuseAValueOutsideTheOrder) {
  // The searches keep one candidate plane per value: 10 or -2 in a cell must not reach them.
  for (const int bad : {10, 99, -2}) {
    ImportSquareMenuItemClick(ctx, test::kBachelor);
    ctx.model.FirstSquare[3][4] = kEmpty;
    ctx.model.FirstSquare[7][2] = bad;
    const TLatinSquare before = ctx.model.FirstSquare;
    for (auto* command :
         {GetFillingsCountMenuItemClick, GetFirstFillingMenuItemClick,
          GetDominatingSetBackwardMenuItemClick, GetDominatingSetRandomMenuItemClick}) {
      ctx.log.Clear();
      command(ctx);
      ASSERT_EQ(ctx.log.lines().size(), 1u) << bad;
      EXPECT_EQ(ctx.log.lines()[0], "Square is incorrect");
      EXPECT_EQ(ctx.model.FirstSquare, before);
    }
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

// A Latin square with one row and one column emptied has one filling: each emptied cell of the
// row (of the column) takes the one value its column (its row) lacks.
TEST_F(FillCommandsTest, GetFirstFillingShowsTheUniqueFilling) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  for (int k = 0; k < 10; ++k) {
    ctx.model.FirstSquare[4][k] = kEmpty;
    ctx.model.FirstSquare[k][6] = kEmpty;
  }
  ctx.model.ViewMode = 1;
  redraws = 0;
  run_menu(ctx, "Get first filling");
  EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false), test::kBachelor);
  EXPECT_TRUE(ctx.log.lines().empty());
  EXPECT_EQ(redraws, 1);

  // Without a filling the clues come back unchanged: cell (0, 0) can take neither the 0 its
  // row already holds nor the 1 its column holds.
  TLatinSquare clash = StringToSquare(test::kBachelor);
  clash[0][0] = kEmpty;
  clash[0][1] = 0;
  ctx.model.SetFirstSquare(clash);
  run_menu(ctx, "Get first filling");
  EXPECT_EQ(ctx.model.FirstSquare, clash);
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
