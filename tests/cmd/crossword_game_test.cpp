#include "cmd/crossword_game.h"

#include <gtest/gtest.h>

#include "model/latin_square_class.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

using M = CursorMove;

class CursorTest : public ::testing::Test {
 protected:
  CursorTest() {
    model.SetOrder(4);
    model.ClearSquares();
    puzzle = TLatinSquare(4);
  }
  CellPos cursor_after(CellPos from, M move) { return move_cursor(model, puzzle, from, move); }

  TLatinSquareClass model;
  TLatinSquare puzzle;
};

TEST_F(CursorTest, ArrowsAndHomeEndStopAtTheEdges) {
  EXPECT_EQ(cursor_after({0, 0}, M::kLeft), (CellPos{0, 0}));
  EXPECT_EQ(cursor_after({0, 0}, M::kUp), (CellPos{0, 0}));
  EXPECT_EQ(cursor_after({3, 3}, M::kRight), (CellPos{3, 3}));
  EXPECT_EQ(cursor_after({3, 3}, M::kDown), (CellPos{3, 3}));
  EXPECT_EQ(cursor_after({1, 1}, M::kRight), (CellPos{1, 2}));
  EXPECT_EQ(cursor_after({1, 1}, M::kDown), (CellPos{2, 1}));
  EXPECT_EQ(cursor_after({2, 1}, M::kRowEnd), (CellPos{2, 3}));
  EXPECT_EQ(cursor_after({2, 1}, M::kRowStart), (CellPos{2, 0}));
  // A cursor left outside by an order change comes back first.
  EXPECT_EQ(cursor_after({9, 12}, M::kLeft), (CellPos{3, 2}));
}

TEST_F(CursorTest, TabSkipsCluesAndWraps) {
  puzzle[0][1] = 2;
  puzzle[0][2] = 3;
  puzzle[3][3] = 1;
  EXPECT_EQ(first_free_cell(model, puzzle), (CellPos{0, 0}));
  EXPECT_EQ(cursor_after({0, 0}, M::kNextFree), (CellPos{0, 3}));
  EXPECT_EQ(cursor_after({0, 3}, M::kPrevFree), (CellPos{0, 0}));
  EXPECT_EQ(cursor_after({3, 2}, M::kNextFree), (CellPos{0, 0}));  // (3, 3) is a clue
  EXPECT_EQ(cursor_after({0, 0}, M::kPrevFree), (CellPos{3, 2}));
  // From a clue Tab still finds the next free cell.
  EXPECT_EQ(cursor_after({0, 1}, M::kNextFree), (CellPos{0, 3}));
}

TEST_F(CursorTest, AllCluesLeaveTabInPlace) {
  for (int i = 0; i < puzzle.size(); ++i) puzzle.data()[i] = 0;
  EXPECT_EQ(first_free_cell(model, puzzle), (CellPos{0, 0}));
  EXPECT_EQ(cursor_after({2, 2}, M::kNextFree), (CellPos{2, 2}));
  EXPECT_EQ(cursor_after({2, 2}, M::kPrevFree), (CellPos{2, 2}));
}

TEST_F(CursorTest, PairViewStepsOverTheGapAndHasNoClues) {
  model.ViewMode = 1;
  puzzle[0][3] = 1;
  EXPECT_FALSE(is_cursor_cell(model, {0, 4}));
  EXPECT_TRUE(is_cursor_cell(model, {0, 8}));
  EXPECT_FALSE(is_cursor_cell(model, {0, 9}));
  EXPECT_EQ(cursor_after({0, 3}, M::kRight), (CellPos{0, 5}));
  EXPECT_EQ(cursor_after({0, 5}, M::kLeft), (CellPos{0, 3}));
  EXPECT_EQ(cursor_after({0, 1}, M::kRowEnd), (CellPos{0, 8}));
  EXPECT_EQ(cursor_after({0, 2}, M::kNextFree), (CellPos{0, 3}));
  EXPECT_EQ(cursor_after({0, 3}, M::kNextFree), (CellPos{0, 5}));
  EXPECT_EQ(cursor_after({1, 4}, M::kUp), (CellPos{0, 3}));
}

TEST(is_solved, NeedsEveryCellNoRepeatAndTheClues) {
  const TLatinSquare solution = test::random_dls(5);
  TLatinSquare puzzle(10);
  puzzle[2][3] = solution[2][3];
  EXPECT_TRUE(is_solved(solution, puzzle));
  TLatinSquare board = solution;
  board[4][4] = kEmpty;
  EXPECT_FALSE(is_solved(board, puzzle));
  board = solution;
  std::swap(board[0][0], board[0][1]);  // rows stay Latin, columns do not
  EXPECT_FALSE(is_solved(board, puzzle));
  // Another complete DLS is no solution when it moved a clue.
  TLatinSquare other = test::random_dls(6);
  puzzle[2][3] = (other[2][3] + 1) % 10;
  EXPECT_FALSE(is_solved(other, puzzle));
  EXPECT_FALSE(is_solved(solution, TLatinSquare()));
}

TEST(BestTimes, KeepTheShortestOfEachKindThroughTheirText) {
  BestTimes times;
  EXPECT_FALSE(times.best(std::nullopt));
  EXPECT_TRUE(times.offer(Difficulty::kHard, 300.9));
  EXPECT_FALSE(times.offer(Difficulty::kHard, 301));
  EXPECT_FALSE(times.offer(Difficulty::kHard, 300.2));  // the same whole second
  EXPECT_TRUE(times.offer(Difficulty::kHard, 120));
  EXPECT_TRUE(times.offer(std::nullopt, 75));
  EXPECT_EQ(times.best(Difficulty::kHard), 120);
  EXPECT_FALSE(times.best(Difficulty::kEasy));
  EXPECT_EQ(times.to_text(), "dlslab best times 1\nany 75\nhard 120\n");
  const std::optional<BestTimes> back = BestTimes::from_text(times.to_text());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->best(std::nullopt), 75);
  EXPECT_EQ(back->best(Difficulty::kHard), 120);
  EXPECT_FALSE(back->best(Difficulty::kMedium));
  for (const char* bad :
       {"", "dlslab best times 2\n", "dlslab best times 1\nhard\n",
        "dlslab best times 1\nhard -4\n", "dlslab best times 1\nweird 4\n",
        "dlslab best times 1\neasy 4x\n", "dlslab best times 1\neasy \n",
        "dlslab best times 1\neasy 99999999999\n"})
    EXPECT_FALSE(BestTimes::from_text(bad)) << bad;
}

TEST(format_game_time, MinutesAndSeconds) {
  EXPECT_EQ(format_game_time(0), "00:00");
  EXPECT_EQ(format_game_time(75.9), "01:15");
  EXPECT_EQ(format_game_time(6000), "100:00");
  EXPECT_EQ(format_game_time(-3), "00:00");
}

class BoardHistoryTest : public ::testing::Test {
 protected:
  BoardHistoryTest() {
    model.SetOrder(10);
    model.ClearSquares();
    marks.reset(10);
    history.reset(model);
  }
  /// One player's action: cells (row, col) := value.
  void edit_cells(std::initializer_list<std::array<int, 3>> cells) {
    const TLatinSquare first = model.FirstSquare, second = model.SecondSquare;
    for (const auto& [r, c, v] : cells) model.FirstSquare[r][c] = v;
    history.record(first, second, marks, model, marks);
  }

  TLatinSquareClass model;
  PencilMarks marks;
  BoardHistory history;
};

TEST_F(BoardHistoryTest, UndoAndRedoWalkTheSteps) {
  const TLatinSquare empty = model.FirstSquare;
  edit_cells({{1, 2, 3}});
  edit_cells({{1, 2, 4}, {5, 5, 0}});
  const TLatinSquare two = model.FirstSquare;
  EXPECT_EQ(history.undo(model, marks), (CellPos{1, 2}));
  EXPECT_EQ(model.FirstSquare[1][2], 3);
  EXPECT_EQ(model.FirstSquare[5][5], kEmpty);
  EXPECT_TRUE(history.undo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare, empty);
  EXPECT_FALSE(history.undo(model, marks).has_value());
  EXPECT_TRUE(history.redo(model, marks).has_value());
  EXPECT_TRUE(history.redo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare, two);
  EXPECT_FALSE(history.redo(model, marks).has_value());
}

TEST_F(BoardHistoryTest, ANewChangeDropsTheRedoSteps) {
  edit_cells({{0, 0, 1}});
  edit_cells({{0, 1, 2}});
  ASSERT_TRUE(history.undo(model, marks).has_value());
  edit_cells({{0, 2, 3}});
  EXPECT_FALSE(history.can_redo(model));
  EXPECT_FALSE(history.redo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare[0][1], kEmpty);
}

TEST_F(BoardHistoryTest, UnchangedBoardRecordsNothing) {
  edit_cells({{3, 3, 7}});
  edit_cells({{3, 3, 7}});
  ASSERT_TRUE(history.undo(model, marks).has_value());
  EXPECT_FALSE(history.can_undo(model));
}

TEST_F(BoardHistoryTest, ABoardChangedBehindItsBackStartsAfresh) {
  edit_cells({{0, 0, 1}});
  model.FirstSquare[9][9] = 5;  // a research command wrote the board
  EXPECT_FALSE(history.can_undo(model));
  EXPECT_FALSE(history.undo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare[0][0], 1);
  EXPECT_EQ(model.FirstSquare[9][9], 5);
  edit_cells({{0, 1, 2}});
  ASSERT_TRUE(history.undo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare[9][9], 5);
  EXPECT_FALSE(history.undo(model, marks).has_value());
}

TEST_F(BoardHistoryTest, SecondSquareAndOrderChanges) {
  const TLatinSquare first = model.FirstSquare, second = model.SecondSquare;
  model.SecondSquare[2][1] = 6;
  history.record(first, second, marks, model, marks);
  EXPECT_EQ(history.undo(model, marks), (CellPos{2, 12}));  // in pair-view columns
  EXPECT_EQ(model.SecondSquare[2][1], kEmpty);
  // A change of order cannot be taken back and starts a fresh history.
  edit_cells({{0, 0, 1}});
  const TLatinSquare before = model.FirstSquare, before2 = model.SecondSquare;
  model.SetOrder(7);
  history.record(before, before2, marks, model, marks);
  EXPECT_FALSE(history.undo(model, marks).has_value());
  EXPECT_EQ(model.GetOrder(), 7);
}

TEST_F(BoardHistoryTest, MarksAreUndoneWithTheValueThatClearedThem) {
  const PencilMarks none = marks;
  PencilMarks before = marks;
  marks.set(4, 4, 0b1010);
  history.record(model.FirstSquare, model.SecondSquare, before, model, marks);
  const PencilMarks noted = marks;
  // A value written takes the cell's marks off in the same step.
  before = marks;
  const TLatinSquare first = model.FirstSquare;
  model.FirstSquare[4][4] = 3;
  marks.clear_filled(model.FirstSquare);
  EXPECT_EQ(marks, none);
  history.record(first, model.SecondSquare, before, model, marks);

  EXPECT_EQ(history.undo(model, marks), (CellPos{4, 4}));
  EXPECT_EQ(model.FirstSquare[4][4], kEmpty);
  EXPECT_EQ(marks, noted);
  EXPECT_TRUE(history.undo(model, marks).has_value());
  EXPECT_EQ(marks, none);
  EXPECT_TRUE(history.redo(model, marks).has_value());
  EXPECT_EQ(marks.at(4, 4), 0b1010u);
  EXPECT_TRUE(history.redo(model, marks).has_value());
  EXPECT_EQ(model.FirstSquare[4][4], 3);
  EXPECT_EQ(marks, none);
}

TEST(PencilMarks, ClearFilledTakesOnlyTheFilledCells) {
  TLatinSquare square(30);
  PencilMarks marks;
  marks.reset(30);
  EXPECT_TRUE(marks.empty());
  marks.set(0, 0, 1u << 29);
  marks.set(29, 29, 0b11);
  square[29][29] = 5;
  EXPECT_TRUE(marks.clear_filled(square));
  EXPECT_EQ(marks.at(0, 0), 1u << 29);
  EXPECT_EQ(marks.at(29, 29), 0u);
  EXPECT_FALSE(marks.clear_filled(square));
  EXPECT_FALSE(marks.clear_filled(TLatinSquare(10)));  // another order: left alone
  EXPECT_EQ(marks.cells().size(), 900u);
}

TEST_F(BoardHistoryTest, KeepsTheNewestSteps) {
  for (std::size_t k = 0; k < BoardHistory::kMaxSteps + 5; ++k) edit_cells({{0, 0, int(k % 2)}});
  std::size_t undone = 0;
  while (history.undo(model, marks)) ++undone;
  EXPECT_EQ(undone, BoardHistory::kMaxSteps);
}

}  // namespace
}  // namespace dlslab::cmd
