#include "cmd/transform_commands.h"

#include <gtest/gtest.h>

#include "cmd/menu_table.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab::cmd {
namespace {

class TransformCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.model.ViewMode = 1;
    ctx.model.FirstSquare = square;
    ctx.model.SecondSquare = second;
    ctx.update_view = [this] { ++redraws; };
  }
  Context ctx;
  const TLatinSquare square = StringToSquare(test::kBachelor);
  const TLatinSquare second = CreateSquare(10);
  int redraws = 0;
};

TEST_F(TransformCommands, EveryMenuItemSwitchesToSingleViewAndRedraws) {
  const char* captions[] = {"Transpose",
                            "Antitranspose",
                            "Rotate +90 (clockwise)",
                            "Rotate -90 (anticlockwise)",
                            "Rotate to 180",
                            "Flip vertical",
                            "Flip horizontal",
                            "Get string-inverse square",
                            "Get column-inverse square",
                            "1: (i, j, a) -> (i, a, j)",
                            "2: (i, j, a) -> (j, a, i)",
                            "Left",
                            "Right",
                            "Up",
                            "Down"};
  for (const char* caption : captions) {
    const MenuEntry* entry = FindCommand(caption);
    ASSERT_NE(entry, nullptr) << caption;
    ASSERT_NE(entry->handler, nullptr) << caption;
    ctx.model.ViewMode = 1;
    ctx.model.FirstSquare = square;
    const int before = redraws;
    entry->handler(ctx, "");
    EXPECT_EQ(ctx.model.ViewMode, 0) << caption;
    EXPECT_EQ(redraws, before + 1) << caption;
    EXPECT_NE(ctx.model.FirstSquare, square) << caption;
    EXPECT_EQ(ctx.model.SecondSquare, second) << caption;
  }
}

TEST_F(TransformCommands, ApplyTheirRoutineToTheFirstSquare) {
  TransposeMenuItemClick(ctx);
  TLatinSquare expected = CreateSquare(10);
  Transpose(expected, square);
  EXPECT_EQ(ctx.model.FirstSquare, expected);

  ctx.model.FirstSquare = square;
  LeftThorusMovementMenuItemClick(ctx);
  RightThorusMovementMenuItemClick(ctx);
  UpThorusMovementMenuItemClick(ctx);
  DownThorusMovementMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, square);

  GetStringInversePermutableSquareMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, GetParastrof1(square));
}

TEST_F(TransformCommands, NormalizationsWorkInPlaceAndKeepTheView) {
  ctx.model.ViewMode = 1;
  NormalizeByMainDiagonalClick(ctx);
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(redraws, 1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ctx.model.FirstSquare[i][i], i);
  EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare));
}

TEST_F(TransformCommands, PartialSquareOfAnotherOrderIsSafe) {
  SetOrderMenuItemClick(ctx, 7);
  ctx.model.FirstSquare[3][3] = 6;
  ctx.model.FirstSquare[4][1] = 99;
  GetStringInversePermutableSquareMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetOrder(), 7);
  EXPECT_EQ(ctx.model.FirstSquare[3][6], 3);
  GetColumnInversePermutableSquareMenuItemClickClick(ctx);
  GetParastrof2MenuItemClick(ctx);
  RotateLeftMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetOrder(), 7);
}

}  // namespace
}  // namespace dlslab::cmd
