#include "cmd/crossword_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "cmd/fill_commands.h"
#include "cmd/menu_table.h"
#include "cmd/model_commands.h"
#include "cmd/view_commands.h"
#include "fill/fillings.h"
#include "fill/puzzle_rating.h"
#include "model/error.h"
#include "model/file_output.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "test_squares.h"

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
  EXPECT_TRUE(has_one_filling(ctx.model.FirstSquare));
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
  CellPos first_clue() const {
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

int clue_count(const TLatinSquare& square) {
  int clues = 0;
  for (int i = 0; i < square.size(); ++i) clues += square.data()[i] >= 0;
  return clues;
}

TEST_F(CrosswordGameTest, ADifficultyDealsTheFirstNumberOfThatRating) {
  const TLatinSquare plain = ctx.puzzle;
  for (const Difficulty target : {Difficulty::kEasy, Difficulty::kMedium, Difficulty::kHard}) {
    SCOPED_TRACE(difficulty_name(target));
    const RatedDeal deal = deal_of_difficulty(4242, target);
    ASSERT_GE(deal.number, 4242u);
    EXPECT_EQ(deal.numbers_tried, static_cast<int>(deal.number - 4242 + 1));
    EXPECT_EQ(rate_puzzle(deal.puzzle).difficulty, target);
    EXPECT_TRUE(has_one_filling(deal.puzzle));
    EXPECT_TRUE(is_solved(deal.solution, deal.puzzle));
    // No number before it has that rating.
    for (std::uint32_t n = 4242; n < deal.number; ++n)
      EXPECT_NE(deal_of_difficulty(n, target).number, n);
    // The menu choice deals it, the log gets that deal's lines alone, and the caption names
    // number and difficulty; the generator is left as the plain deal of that number leaves it.
    find_command(std::string(difficulty_name(target)))->handler(ctx, "");
    ctx.log.Clear();
    PlayGameNumberMenuItemClick(ctx, 4242);
    const std::uint32_t seed_after = RandSeed;
    EXPECT_EQ(ctx.puzzle, deal.puzzle);
    EXPECT_EQ(ctx.model.FirstSquare, deal.puzzle);
    EXPECT_EQ(ctx.model.FixedCells[0][0], deal.puzzle[0][0] >= 0);
    ASSERT_EQ(ctx.log.lines().size(), 3u);
    EXPECT_EQ(ctx.log.lines()[2], "Game " + std::to_string(deal.number) + " (" +
                                      std::string(difficulty_name(target)) +
                                      "): " + std::to_string(clue_count(deal.puzzle)) + " clues");
    EXPECT_EQ(game_caption(ctx), "Diagonal Latin squares crossword - game " +
                                     std::to_string(deal.number) + " (" +
                                     std::string(difficulty_name(target)) + ") - 00:00");
    Context plain_ctx;
    PlayGameNumberMenuItemClick(plain_ctx, deal.number);
    EXPECT_EQ(RandSeed, seed_after);
    EXPECT_GE(clue_count(deal.puzzle), clue_count(plain_ctx.puzzle));
  }
  // "Any deal" brings the plain deal back.
  find_command("Any deal")->handler(ctx, "");
  PlayGameNumberMenuItemClick(ctx, 4242);
  EXPECT_EQ(ctx.puzzle, plain);
  EXPECT_EQ(game_caption(ctx), "Diagonal Latin squares crossword - game 4242 - 00:00");
}

TEST_F(CrosswordGameTest, RatedDealsWrapPastTheLastNumber) {
  const RatedDeal deal = deal_of_difficulty(4294967295u, Difficulty::kEasy);
  EXPECT_LE(deal.numbers_tried, 100);
  EXPECT_EQ(deal.number, static_cast<std::uint32_t>(4294967295u + (deal.numbers_tried - 1)));
}

TEST_F(CrosswordGameTest, SolutionsKeepTheBestTimeOfTheirKind) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("dlslab_best_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ctx.game_folder = folder.string();
  const auto solve_after = [this](std::optional<Difficulty> kind, std::uint32_t number,
                                  double seconds) {
    DifficultyMenuItemClick(ctx, kind);
    PlayGameNumberMenuItemClick(ctx, number);
    now += seconds;
    GetFirstFillingMenuItemClick(ctx);
    (void)game_caption(ctx);
  };
  solve_after(Difficulty::kEasy, 1, 90);
  EXPECT_TRUE(ctx.game.new_best);
  EXPECT_EQ(ctx.game.best_time, 90);
  solve_after(Difficulty::kEasy, 2, 100);
  EXPECT_FALSE(ctx.game.new_best);
  EXPECT_EQ(ctx.game.best_time, 90);
  solve_after(std::nullopt, 3, 200);  // another kind: a best of its own
  EXPECT_TRUE(ctx.game.new_best);
  EXPECT_EQ(ctx.game.best_time, 200);
  (void)game_caption(ctx);  // asked again: counted once
  const BestTimes kept = BestTimes::load(best_times_file(ctx));
  EXPECT_EQ(kept.best(Difficulty::kEasy), 90);
  EXPECT_EQ(kept.best(std::nullopt), 200);
  // A damaged file is reported and written anew.
  write_file_atomically(best_times_file(ctx), "garbage");
  ctx.log.Clear();
  solve_after(Difficulty::kHard, 4, 500);
  EXPECT_TRUE(ctx.game.new_best);
  EXPECT_TRUE(std::any_of(
      ctx.log.lines().begin(), ctx.log.lines().end(),
      [](const std::string& line) { return line.find("best times") != std::string::npos; }));
  EXPECT_EQ(BestTimes::load(best_times_file(ctx)).best(Difficulty::kHard), 500);
  std::filesystem::remove_all(folder);
}

TEST_F(CrosswordGameTest, GameNumbersAreParsedStrictly) {
  EXPECT_EQ(parse_game_number(" 4294967295 "), 4294967295u);
  EXPECT_EQ(parse_game_number("0"), 0u);
  for (const char* bad : {"", "-1", "4294967296", "12a", "1 2"})
    EXPECT_THROW((void)parse_game_number(bad), Error) << bad;
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
  const CellPos clue = first_clue();
  place_cursor(ctx, clue);
  ASSERT_EQ(ctx.game.cursor, clue);
  const TLatinSquare before = ctx.model.FirstSquare;
  PaintBoxKeyValue(ctx, (before[clue.row][clue.col] + 1) % 10);
  PaintBoxKeyValue(ctx, kEmpty);
  EXPECT_EQ(ctx.model.FirstSquare, before);
  place_cursor(ctx, {3, -1});  // off the grid: the cursor stays
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
  EXPECT_EQ(game_caption(ctx), base + "00:00");
  now += 61;
  EXPECT_EQ(game_caption(ctx), base + "01:01");
  GetFirstFillingMenuItemClick(ctx);
  EXPECT_EQ(game_caption(ctx), base + "solved in 01:01");
  now += 30;
  EXPECT_EQ(game_caption(ctx), base + "solved in 01:01");
  const CellPos cell = ctx.game.cursor;
  PaintBoxKeyValue(ctx, (ctx.model.FirstSquare[cell.row][cell.col] + 1) % 10);
  EXPECT_EQ(game_caption(ctx), base + "01:31");
  Context fresh;
  EXPECT_EQ(game_caption(fresh), "Diagonal Latin squares crossword");
}

}  // namespace
}  // namespace dlslab::cmd

namespace dlslab::cmd {
namespace {

/// Writes `value` into the view cell with the keyboard, as the player does.
void type_value(Context& ctx, CellPos cell, int value) {
  place_cursor(ctx, cell);
  PaintBoxKeyValue(ctx, value);
}

bool shows_solved(Context& ctx) {
  return game_caption(ctx).find(" - solved in ") != std::string::npos;
}

// A board that is complete and Latin, with every clue in place but a value twice on a
// diagonal, is no solution: the player swaps the values of an intercalate (a 2 x 2 subsquare
// a b / b a, which keeps rows and columns Latin) that has a cell on a diagonal and no clue.
TEST(CrosswordSolved, ARepeatOnADiagonalIsNoSolution) {
  Context ctx;
  double now = 100;
  ctx.clock = [&now] { return now; };
  struct Intercalate {
    int r1, c1, r2, c2;
  };
  std::optional<Intercalate> found;
  for (std::uint32_t number = 1; number < 200 && !found; ++number) {
    PlayGameNumberMenuItemClick(ctx, number);
    GetFirstFillingMenuItemClick(ctx);
    const TLatinSquare& s = ctx.model.FirstSquare;
    auto free = [&ctx](int r, int c) { return ctx.puzzle[r][c] == kEmpty; };
    auto on_diagonal = [](int r, int c) { return r == c || r + c == 9; };
    for (int r1 = 0; r1 < 10 && !found; ++r1)
      for (int r2 = r1 + 1; r2 < 10 && !found; ++r2)
        for (int c1 = 0; c1 < 10 && !found; ++c1)
          for (int c2 = c1 + 1; c2 < 10 && !found; ++c2)
            if (s[r1][c1] == s[r2][c2] && s[r1][c2] == s[r2][c1] && free(r1, c1) && free(r1, c2) &&
                free(r2, c1) && free(r2, c2) &&
                (on_diagonal(r1, c1) || on_diagonal(r1, c2) || on_diagonal(r2, c1) ||
                 on_diagonal(r2, c2)))
              found = Intercalate{r1, c1, r2, c2};
  }
  ASSERT_TRUE(found.has_value());
  const auto [r1, c1, r2, c2] = *found;
  ASSERT_TRUE(shows_solved(ctx));
  const int a = ctx.model.FirstSquare[r1][c1];
  const int b = ctx.model.FirstSquare[r1][c2];
  type_value(ctx, {r1, c1}, b);
  type_value(ctx, {r1, c2}, a);
  type_value(ctx, {r2, c1}, a);
  type_value(ctx, {r2, c2}, b);
  ASSERT_TRUE(is_complete_latin(ctx.model.FirstSquare));
  EXPECT_FALSE(IsDiagonalLatin(ctx.model.FirstSquare));
  EXPECT_FALSE(is_solved(ctx.model.FirstSquare, ctx.puzzle));
  EXPECT_FALSE(shows_solved(ctx)) << game_caption(ctx);
  // Taken back, the board is the solution again.
  for (int k = 0; k < 4; ++k) UndoMenuItemClick(ctx);
  EXPECT_TRUE(shows_solved(ctx)) << game_caption(ctx);

  // Without clues: a Latin square whose diagonals repeat, and one whose rows do not.
  TLatinSquare cyclic(10);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) cyclic[r][c] = (r + c) % 10;
  EXPECT_FALSE(is_solved(cyclic, TLatinSquare(10)));
  EXPECT_TRUE(is_solved(ctx.model.FirstSquare, TLatinSquare(10)));
}

class CrosswordHistory : public ::testing::Test {
 protected:
  CrosswordHistory() {
    PlayGameNumberMenuItemClick(ctx, 4242);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx.puzzle[r][c] == kEmpty) free_cells.push_back({r, c});
  }
  /// The player's k-th keystroke: a value that differs from what the cell held.
  void keystroke(std::size_t k) {
    type_value(ctx, free_cells[k % free_cells.size()],
               static_cast<int>(k / free_cells.size() % 10));
  }

  Context ctx;
  std::vector<CellPos> free_cells;
};

// At its limit the history lets the oldest step go: the newest steps are all undone in turn,
// newest first, and undoing stops at the board as it stood after the first steps that went.
TEST_F(CrosswordHistory, AtItsLimitTheOldestStepGoes) {
  constexpr std::size_t kExtra = 3;
  constexpr std::size_t kSteps = BoardHistory::kMaxSteps + kExtra;
  TLatinSquare after_dropped;
  std::vector<TLatinSquare> last_boards;  // before each of the last three keystrokes
  for (std::size_t k = 0; k < kSteps; ++k) {
    if (k == kExtra) after_dropped = ctx.model.FirstSquare;
    if (k + 3 >= kSteps) last_boards.push_back(ctx.model.FirstSquare);
    keystroke(k);
  }
  const TLatinSquare played = ctx.model.FirstSquare;
  for (std::size_t i = 3; i-- > 0;) {
    UndoMenuItemClick(ctx);
    ASSERT_EQ(ctx.model.FirstSquare, last_boards[i]) << "undo " << 3 - i;
  }
  std::size_t undone = 3;
  for (; ctx.game.history.can_undo(ctx.model); ++undone) UndoMenuItemClick(ctx);
  EXPECT_EQ(undone, BoardHistory::kMaxSteps);
  EXPECT_EQ(ctx.model.FirstSquare, after_dropped);
  // And every step comes back.
  for (std::size_t k = 0; k < BoardHistory::kMaxSteps; ++k) RedoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, played);
  EXPECT_FALSE(ctx.game.history.can_redo(ctx.model));
}

// A command that replaces the board starts a fresh history: nothing before it can be undone,
// and the player's moves after it undo back to the command's board, no further.
TEST_F(CrosswordHistory, ACommandThatReplacesTheBoardClearsIt) {
  const std::string bachelor = test::kBachelor;
  std::string partial = bachelor;
  for (const int cell : {5, 15, 25, 35}) partial[cell] = '-';
  const std::string file = (std::filesystem::temp_directory_path() /
                            ("dlslab_history_" + std::to_string(::getpid()) + ".txt"))
                               .string();
  {
    Context writer;
    ImportSquareMenuItemClick(writer, partial);
    SaveMenuItemClick(writer, file);
  }
  const std::vector<std::pair<std::string, std::string>> commands{
      {"Import square...", partial},
      {"Load from file...", file},
      {"Transpose", ""},
      {"Clear square", ""},
      {"Random search v3", ""},
      {"Import pair...", bachelor + partial},
      {"Swap squares", ""},
      {"Set order...", "10"},
  };
  for (const auto& [caption, arg] : commands) {
    SCOPED_TRACE(caption);
    const MenuEntry* command = find_command(caption);
    ASSERT_NE(command, nullptr);
    for (const bool move_first : {false, true}) {
      PlayGameNumberMenuItemClick(ctx, 4242);
      for (std::size_t k = 0; k < 5; ++k) keystroke(k);
      command->handler(ctx, arg);
      ctx.model.ViewMode = 0;
      const TLatinSquare first = ctx.model.FirstSquare;
      const TLatinSquare second = ctx.model.SecondSquare;
      EXPECT_FALSE(ctx.game.history.can_undo(ctx.model));
      if (move_first) {  // a move on the new board undoes to it, and no further
        PaintBoxClick(ctx, free_cells[0]);
        EXPECT_NE(ctx.model.FirstSquare, first);
        UndoMenuItemClick(ctx);
      }
      UndoMenuItemClick(ctx);
      EXPECT_EQ(ctx.model.FirstSquare, first);
      EXPECT_EQ(ctx.model.SecondSquare, second);
      EXPECT_FALSE(ctx.game.history.can_undo(ctx.model));
    }
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace dlslab::cmd
