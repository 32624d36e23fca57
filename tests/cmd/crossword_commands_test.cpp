#include "cmd/crossword_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cmd/model_commands.h"
#include "fill/fillings.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab::cmd {
namespace {

class CrosswordTest : public ::testing::Test {
 protected:
  Context ctx;
};

TEST_F(CrosswordTest, NewGameComesBackToOrderTen) {
  SetOrderMenuItemClick(ctx, 12);
  NewGameMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetOrder(), 10);
  EXPECT_EQ(ctx.model.FixedCells.order(), 10);
  EXPECT_TRUE(HasOneFilling(ctx.model.FirstSquare));
}

TEST_F(CrosswordTest, StartAgainBeforeAnyGameChangesNothing) {
  ctx.model.FirstSquare[1][1] = 3;
  const TLatinSquare before = ctx.model.FirstSquare;
  StartAgainMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, before);
  EXPECT_EQ(ctx.model.GetOrder(), 10);
}

TEST_F(CrosswordTest, StartAgainAfterAnOrderChangeRestoresOrderTen) {
  NewGameMenuItemClick(ctx);
  const TLatinSquare puzzle = ctx.puzzle;
  SetOrderMenuItemClick(ctx, 7);
  StartAgainMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, puzzle);
  EXPECT_EQ(ctx.model.RedCells.order(), 10);
  EXPECT_EQ(ctx.model.ValueColors.size(), 10u);
}

TEST_F(CrosswordTest, RulesShowElevenLinesTheSixthEmpty) {
  std::vector<std::string> shown;
  ctx.show_message = [&shown](const std::string& text) { shown.push_back(text); };
  ShowRulesMenuItemClick(ctx);
  ASSERT_EQ(shown.size(), 1u);
  std::vector<std::string> lines;
  std::istringstream in(shown[0]);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[0], "1. Разрешается использовать значения 0, 1, ..., 9.");
  EXPECT_EQ(lines[6], "1. Allowed to use values 0, 1, ..., 9.");
  EXPECT_EQ(lines[10], "You need to fill all empty cells of the square.");
  EXPECT_NE(shown[0].back(), '\n');
}

}  // namespace
}  // namespace dlslab::cmd
