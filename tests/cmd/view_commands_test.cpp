#include "cmd/view_commands.h"

#include <gtest/gtest.h>

namespace dlslab::cmd {
namespace {

TEST(PaintBoxClick, RedrawsOnlyWhenACellChanged) {
  Context ctx;
  int redraws = 0;
  ctx.update_view = [&redraws] { ++redraws; };
  ctx.puzzle = TLatinSquare(10);
  ctx.puzzle[0][0] = 4;
  PaintBoxClick(ctx, {0, 0});
  MenuItemClick(ctx, {0, 0}, 1);
  FormMouseWheel(ctx, {0, 0}, 1);
  FormMouseWheel(ctx, {0, -1}, 1);
  EXPECT_EQ(redraws, 0);
  PaintBoxClick(ctx, {0, 1});
  MenuItemClick(ctx, {0, 2}, 1);
  FormMouseWheel(ctx, {0, 3}, -1);
  EXPECT_EQ(redraws, 3);
  EXPECT_EQ(ctx.model.FirstSquare[0][1], 0);
  EXPECT_EQ(ctx.model.FirstSquare[0][2], 1);
  EXPECT_EQ(ctx.model.FirstSquare[0][3], 8);
}

}  // namespace
}  // namespace dlslab::cmd
