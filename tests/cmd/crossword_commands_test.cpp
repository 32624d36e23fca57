#include "cmd/crossword_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cmd/fill_commands.h"
#include "cmd/model_commands.h"
#include "cmd/view_commands.h"
#include "fill/fillings.h"
#include "model/error.h"
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

namespace dlslab::cmd {
namespace {

class CrosswordGameTest : public ::testing::Test {
 protected:
  CrosswordGameTest() {
    ctx.clock = [this] { return now; };
    PlayGameNumberMenuItemClick(ctx, 4242);
  }
  CellPos FirstClue() const {
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx.puzzle[r][c] >= 0) return {r, c};
    return {};
  }

  double now = 500;
  Context ctx;
};

TEST_F(CrosswordGameTest, TheSameNumberDealsTheSameGame) {
  const TLatinSquare first = ctx.puzzle;
  std::vector<std::string> log = ctx.log.lines();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_TRUE(log[0].starts_with("Random search v3: square was filled from "));
  EXPECT_TRUE(log[1].starts_with("Dominating set cardinality: "));
  SetOrderMenuItemClick(ctx, 12);  // whatever the board held before
  PlayGameNumberMenuItemClick(ctx, 4242);
  EXPECT_EQ(ctx.puzzle, first);
  EXPECT_EQ(ctx.game.number, 4242u);
  // "New game" without the clock deals the generator's seed.
  ctx.new_game_from_clock = false;
  RandSeed = 4242;
  NewGameMenuItemClick(ctx);
  EXPECT_EQ(ctx.puzzle, first);
  PlayGameNumberMenuItemClick(ctx, 4243);
  EXPECT_NE(ctx.puzzle, first);
}

TEST_F(CrosswordGameTest, GameNumbersAreParsedStrictly) {
  EXPECT_EQ(ParseGameNumber(" 4294967295 "), 4294967295u);
  EXPECT_EQ(ParseGameNumber("0"), 0u);
  for (const char* bad : {"", "-1", "4294967296", "12a", "1 2"})
    EXPECT_THROW((void)ParseGameNumber(bad), Error) << bad;
}

TEST_F(CrosswordGameTest, KeysWriteTheCursorCellButNoClue) {
  const CellPos start = ctx.game.cursor;
  EXPECT_EQ(ctx.puzzle[start.row][start.col], kEmpty);
  PaintBoxKeyValue(ctx, 6);
  EXPECT_EQ(ctx.model.FirstSquare[start.row][start.col], 6);
  PaintBoxKeyValue(ctx, 10);  // no such value at order 10
  EXPECT_EQ(ctx.model.FirstSquare[start.row][start.col], 6);
  PaintBoxKeyValue(ctx, kEmpty);
  EXPECT_EQ(ctx.model.FirstSquare[start.row][start.col], kEmpty);
  const CellPos clue = FirstClue();
  PlaceCursor(ctx, clue);
  ASSERT_EQ(ctx.game.cursor, clue);
  const TLatinSquare before = ctx.model.FirstSquare;
  PaintBoxKeyValue(ctx, (before[clue.row][clue.col] + 1) % 10);
  PaintBoxKeyValue(ctx, kEmpty);
  EXPECT_EQ(ctx.model.FirstSquare, before);
  PlaceCursor(ctx, {3, -1});  // off the grid: the cursor stays
  EXPECT_EQ(ctx.game.cursor, clue);
}

TEST_F(CrosswordGameTest, StartAgainIsOneUndoableStep) {
  const CellPos a = ctx.game.cursor;
  PaintBoxKeyValue(ctx, 1);
  PaintBoxKeyMove(ctx, CursorMove::kNextFree);
  const CellPos b = ctx.game.cursor;
  PaintBoxKeyValue(ctx, 2);
  const TLatinSquare played = ctx.model.FirstSquare;
  StartAgainMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, ctx.puzzle);
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, played);
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare[b.row][b.col], kEmpty);
  EXPECT_EQ(ctx.game.cursor, b);  // the cursor shows what was undone
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, ctx.puzzle);
  EXPECT_EQ(ctx.game.cursor, a);
  RedoMenuItemClick(ctx);
  RedoMenuItemClick(ctx);
  RedoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, ctx.puzzle);
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, played);
  // Mouse edits are steps too, and a new game forgets them all.
  PaintBoxClick(ctx, a);
  EXPECT_EQ(ctx.game.cursor, a);
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, played);
  NewGameMenuItemClick(ctx);
  const TLatinSquare dealt = ctx.model.FirstSquare;
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, dealt);
}

TEST_F(CrosswordGameTest, CaptionShowsNumberClockAndSolution) {
  const std::string base = "Diagonal Latin squares crossword - game 4242 - ";
  EXPECT_EQ(GameCaption(ctx), base + "00:00");
  now += 61;
  EXPECT_EQ(GameCaption(ctx), base + "01:01");
  GetFirstFillingMenuItemClick(ctx);
  EXPECT_EQ(GameCaption(ctx), base + "solved in 01:01");
  now += 30;
  EXPECT_EQ(GameCaption(ctx), base + "solved in 01:01");
  const CellPos cell = ctx.game.cursor;
  PaintBoxKeyValue(ctx, (ctx.model.FirstSquare[cell.row][cell.col] + 1) % 10);
  EXPECT_EQ(GameCaption(ctx), base + "01:31");
  Context fresh;
  EXPECT_EQ(GameCaption(fresh), "Diagonal Latin squares crossword");
}

}  // namespace
}  // namespace dlslab::cmd
