#include "cmd/view_commands.h"

#include <gtest/gtest.h>

#include "model/error.h"

namespace dlslab::cmd {
namespace {

TEST(SaveAsBmpClick, AddsTheExtensionAndFailsWithoutAPainter) {
  Context ctx;
  EXPECT_THROW(SaveAsBmpClick(ctx, "board"), Error);
  std::string written;
  ctx.save_bitmap = [&written](const std::string& name) { written = name; };
  SaveAsBmpClick(ctx, "/tmp/dir.v2/board");
  EXPECT_EQ(written, "/tmp/dir.v2/board.bmp");
  SaveAsBmpClick(ctx, "board.png");
  EXPECT_EQ(written, "board.png");
}

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
