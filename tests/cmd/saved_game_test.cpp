#include "cmd/saved_game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cmd/crossword_commands.h"
#include "cmd/view_commands.h"
#include "fill/fillings.h"
#include "model/file_output.h"
#include "model/random.h"

namespace dlslab::cmd {
namespace {

// A dealt game with a few of the player's moves: values, marks and an undone step.
class PlayedGame : public ::testing::Test {
 protected:
  PlayedGame() {
    ctx.clock = [this] { return now; };
    PlayGameNumberMenuItemClick(ctx, 2026);
  }
  /// The n-th cell, row by row, that is no clue.
  CellPos free_cell(int n) const {
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx.puzzle[r][c] == kEmpty && n-- == 0) return {r, c};
    return {};
  }
  CellPos clue_cell() const {
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 10; ++c)
        if (ctx.puzzle[r][c] != kEmpty) return {r, c};
    return {};
  }
  void play_moves() {
    toggle_pencil_mark(ctx, free_cell(0), 3);
    toggle_pencil_mark(ctx, free_cell(0), 7);
    toggle_pencil_mark(ctx, free_cell(1), 0);
    MenuItemClick(ctx, free_cell(2), 4);
    MenuItemClick(ctx, free_cell(3), 5);
    UndoMenuItemClick(ctx);
    ctx.game.cursor = free_cell(4);
    now += 83.25;
  }

  double now = 1000;
  Context ctx;
};

TEST_F(PlayedGame, MarksGoOnlyIntoEmptyFreeCellsAndToggle) {
  const CellPos cell = free_cell(0);
  EXPECT_TRUE(can_mark(ctx, cell));
  toggle_pencil_mark(ctx, cell, 3);
  toggle_pencil_mark(ctx, cell, 9);
  EXPECT_EQ(ctx.game.marks.at(cell.row, cell.col), (1u << 3) | (1u << 9));
  toggle_pencil_mark(ctx, cell, 3);
  EXPECT_EQ(ctx.game.marks.at(cell.row, cell.col), 1u << 9);
  toggle_pencil_mark(ctx, cell, 10);  // no such value
  EXPECT_EQ(ctx.game.marks.at(cell.row, cell.col), 1u << 9);
  toggle_pencil_mark(ctx, cell, kEmpty);  // "Clear marks"
  EXPECT_TRUE(ctx.game.marks.empty());

  const CellPos clue = clue_cell();
  EXPECT_FALSE(can_mark(ctx, clue));
  toggle_pencil_mark(ctx, clue, 1);
  MenuItemClick(ctx, free_cell(1), 2);
  EXPECT_FALSE(can_mark(ctx, free_cell(1)));
  toggle_pencil_mark(ctx, free_cell(1), 1);
  EXPECT_FALSE(can_mark(ctx, {0, 10}));  // off the square
  EXPECT_TRUE(ctx.game.marks.empty());

  // The keys note at the cursor.
  ctx.game.cursor = cell;
  PaintBoxKeyMark(ctx, 5);
  EXPECT_EQ(ctx.game.marks.at(cell.row, cell.col), 1u << 5);
}

TEST_F(PlayedGame, AValueClearsTheMarksAndUndoBringsBothBack) {
  const CellPos cell = free_cell(0);
  toggle_pencil_mark(ctx, cell, 2);
  toggle_pencil_mark(ctx, cell, 6);
  const PencilMarks noted = ctx.game.marks;
  ctx.game.cursor = cell;
  PaintBoxKeyValue(ctx, 6);
  EXPECT_TRUE(ctx.game.marks.empty());
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare[cell.row][cell.col], kEmpty);
  EXPECT_EQ(ctx.game.marks, noted);
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.game.marks.at(cell.row, cell.col), 1u << 2);
  RedoMenuItemClick(ctx);
  RedoMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare[cell.row][cell.col], 6);
  EXPECT_TRUE(ctx.game.marks.empty());
  // The mouse wheel writes values too.
  UndoMenuItemClick(ctx);
  FormMouseWheel(ctx, cell, 120);
  EXPECT_NE(ctx.model.FirstSquare[cell.row][cell.col], kEmpty);
  EXPECT_TRUE(ctx.game.marks.empty());
}

TEST_F(PlayedGame, StartAgainAndNewGamesClearTheMarks) {
  toggle_pencil_mark(ctx, free_cell(0), 1);
  const PencilMarks noted = ctx.game.marks;
  StartAgainMenuItemClick(ctx);
  EXPECT_TRUE(ctx.game.marks.empty());
  UndoMenuItemClick(ctx);
  EXPECT_EQ(ctx.game.marks, noted);
  PlayGameNumberMenuItemClick(ctx, 7);
  EXPECT_TRUE(ctx.game.marks.empty());
  EXPECT_EQ(ctx.game.marks.order(), 10);
}

TEST_F(PlayedGame, ResearchModeHasNoMarksAndGivesTheGamesBack) {
  toggle_pencil_mark(ctx, free_cell(0), 4);
  const PencilMarks noted = ctx.game.marks;
  set_game_aside(ctx);
  EXPECT_TRUE(ctx.game.marks.empty());
  EXPECT_FALSE(can_mark(ctx, free_cell(0)));
  toggle_pencil_mark(ctx, free_cell(0), 5);
  EXPECT_TRUE(ctx.game.marks.empty());
  bring_game_back(ctx);
  EXPECT_EQ(ctx.game.marks, noted);
}

TEST_F(PlayedGame, TheTextGivesTheGameBackExactly) {
  play_moves();
  const GameState kept = take_game_state(ctx);
  const std::string text = saved_game_text(kept);
  const std::optional<GameState> read = parse_saved_game(text);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(saved_game_text(*read), text);
  EXPECT_EQ(read->model.FirstSquare, ctx.model.FirstSquare);
  EXPECT_EQ(read->model.SecondSquare, ctx.model.SecondSquare);
  EXPECT_EQ(read->model.ValueColors, ctx.model.ValueColors);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c)
      EXPECT_EQ(read->model.FixedCells[r][c], ctx.model.FixedCells[r][c]);
  EXPECT_EQ(read->puzzle, ctx.puzzle);
  EXPECT_EQ(read->game.marks, ctx.game.marks);
  EXPECT_EQ(read->game.number, 2026u);
  EXPECT_EQ(read->game.cursor, free_cell(4));
  EXPECT_DOUBLE_EQ(read->played, 83.25);
  EXPECT_EQ(read->game.history.undo_steps(), ctx.game.history.undo_steps());
  EXPECT_EQ(read->game.history.redo_steps(), ctx.game.history.redo_steps());

  // Resumed in another run, the game goes on: the clock from where it stood, the undone step
  // redone, the marks undone.
  Context later;
  double later_now = 50;
  later.clock = [&later_now] { return later_now; };
  resume_game(later, *read);
  EXPECT_EQ(game_caption(later), "Diagonal Latin squares crossword - game 2026 - 01:23");
  RedoMenuItemClick(later);
  EXPECT_EQ(later.model.FirstSquare[free_cell(3).row][free_cell(3).col], 5);
  for (int k = 0; k < 5; ++k) UndoMenuItemClick(later);
  EXPECT_TRUE(later.game.marks.empty());
  EXPECT_EQ(later.model.FirstSquare, ctx.puzzle);
}

TEST_F(PlayedGame, ADamagedOrForeignTextIsNoGame) {
  play_moves();
  const std::string text = saved_game_text(take_game_state(ctx));
  ASSERT_TRUE(parse_saved_game(text).has_value());
  // Broken off anywhere before its end line.
  const std::size_t end = text.rfind("end");
  for (std::size_t cut = 0; cut < end; cut += 7)
    EXPECT_FALSE(parse_saved_game(text.substr(0, cut)).has_value()) << cut;
  auto edited = [&text](const std::string& from, const std::string& to) {
    std::string changed = text;
    const std::size_t at = changed.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return changed.replace(at, from.size(), to);
  };
  EXPECT_FALSE(parse_saved_game(edited("dlslab saved game 1", "dlslab saved game 2")));
  EXPECT_FALSE(parse_saved_game(edited("dlslab saved game 1", "dlslab best times 1")));
  EXPECT_FALSE(parse_saved_game(edited("order 10", "order 31")));
  EXPECT_FALSE(parse_saved_game(edited("order 10", "order 9")));
  EXPECT_FALSE(parse_saved_game(edited("difficulty any", "difficulty brutal")));
  EXPECT_FALSE(parse_saved_game(edited("number 2026", "number 4294967296")));
  EXPECT_FALSE(parse_saved_game(edited("number 2026", "number 2026x")));
  EXPECT_FALSE(parse_saved_game(edited("number 2026", "number +2026")));
  EXPECT_FALSE(parse_saved_game(edited("number 2026", "number 99999999999999999999")));
  EXPECT_FALSE(parse_saved_game(edited("first ", "first 10 ")));    // a value past the order
  EXPECT_FALSE(parse_saved_game(edited("marks ", "marks 1024 ")));  // a mark past it
  EXPECT_FALSE(parse_saved_game(edited("undo 4", "undo 5")));
  EXPECT_FALSE(parse_saved_game(edited("step 2 ", "step 3 ")));
  // A word or a number out of range after a step's last change.
  for (const char* tail : {" x", " 9", " -5"}) {
    std::string changed = text;
    changed.insert(changed.find('\n', changed.find("\nstep ") + 1), tail);
    EXPECT_FALSE(parse_saved_game(changed)) << tail;
  }
  EXPECT_FALSE(parse_saved_game(edited("redo 1\nstep", "redo 1\nstep\nstep")));
  EXPECT_FALSE(parse_saved_game(text + "more\n"));
  EXPECT_FALSE(parse_saved_game(""));
  EXPECT_FALSE(parse_saved_game(std::string(4096, '\0')));
  EXPECT_TRUE(parse_saved_game(edited("difficulty any", "difficulty hard")));
}

// The kept game in a game folder of its own.
class KeptGame : public PlayedGame {
 protected:
  KeptGame() {
    folder =
        std::filesystem::temp_directory_path() / ("dlslab_kept_game_" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ctx.game_folder = folder.string();
  }
  ~KeptGame() override { std::filesystem::remove_all(folder); }
  bool game_kept() const { return std::filesystem::exists(kept_game_file(ctx)); }

  std::filesystem::path folder;
};

TEST_F(KeptGame, OnlyAnUnfinishedGameOfThePlayersIsKept) {
  EXPECT_FALSE(unfinished_game(ctx).has_value());  // as dealt: nothing to lose
  keep_game(ctx);
  EXPECT_FALSE(game_kept());
  toggle_pencil_mark(ctx, free_cell(0), 1);  // a mark alone is the player's work
  ASSERT_TRUE(unfinished_game(ctx).has_value());
  keep_game(ctx);
  EXPECT_TRUE(game_kept());
  toggle_pencil_mark(ctx, free_cell(0), 1);
  keep_game(ctx);  // back as dealt: the old file goes
  EXPECT_FALSE(game_kept());

  // A solved board is over.
  const TLatinSquare solution = GetFirstFilling(ctx.puzzle);
  MenuItemClick(ctx, free_cell(0), solution[free_cell(0).row][free_cell(0).col]);
  keep_game(ctx);
  EXPECT_TRUE(game_kept());
  ctx.model.FirstSquare = solution;
  EXPECT_FALSE(unfinished_game(ctx).has_value());
  keep_game(ctx);
  EXPECT_FALSE(game_kept());
}

TEST_F(KeptGame, TheGameSetAsideForResearchIsTheOneKept) {
  play_moves();
  const std::string text = saved_game_text(take_game_state(ctx));
  set_game_aside(ctx);
  ctx.model.ClearSquares();  // research work on the board
  keep_game(ctx);
  std::string error;
  const std::optional<GameState> kept = kept_game(ctx, error);
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(error, "");
  EXPECT_EQ(saved_game_text(*kept), text);
  drop_kept_game(ctx);
  EXPECT_FALSE(game_kept());
}

TEST_F(KeptGame, ADamagedFileIsSetAsideAndNothingElseTouched) {
  const std::string best = ctx.game_folder + "/best_times.txt";
  write_file_atomically(best, "dlslab best times 1\nany 99\n");
  write_file_atomically(kept_game_file(ctx), "dlslab saved game 1\nnumber 12\n");
  std::string error;
  EXPECT_FALSE(kept_game(ctx, error).has_value());
  EXPECT_EQ(error, "\"" + kept_game_file(ctx) +
                       "\" holds no game that can be continued; it is kept as \"" +
                       kept_game_file(ctx) + ".bad\" and a new game begins.");
  EXPECT_FALSE(game_kept());
  std::ifstream bad(kept_game_file(ctx) + ".bad");
  std::ostringstream bytes;
  bytes << bad.rdbuf();
  EXPECT_EQ(bytes.str(), "dlslab saved game 1\nnumber 12\n");
  EXPECT_EQ(BestTimes::load(best).best(std::nullopt), 99);
  // No file: no game, no word.
  error.clear();
  EXPECT_FALSE(kept_game(ctx, error).has_value());
  EXPECT_EQ(error, "");
}

TEST_F(KeptGame, NoGameFolderKeepsNothing) {
  play_moves();
  ctx.game_folder.clear();
  keep_game(ctx);
  std::string error;
  EXPECT_FALSE(kept_game(ctx, error).has_value());
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace dlslab::cmd
