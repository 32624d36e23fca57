#include "model/square_view.h"

#include <gtest/gtest.h>

#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab {
namespace {

class SquareViewTest : public ::testing::Test {
 protected:
  SquareViewTest() { set_order(10); }
  void set_order(int n) {
    model.SetOrder(n);
    model.ClearSquares();
  }
  /// The look of cell (i, j) of the first square at cell size 29.
  CellLook cell_look(int i, int j) {
    const auto looks = get_square_looks(model, 10, 10, 29, model.FirstSquare);
    return looks[i * model.GetOrder() + j];
  }
  TLatinSquareClass model;
  TLatinSquare no_game;  ///< an empty puzzle copy: nothing is protected
};

TEST_F(SquareViewTest, CellSizeFollowsTheBitmapAndHasAFloor) {
  EXPECT_EQ(GetCellSize(model, 310, 310), 29);
  EXPECT_EQ(GetCellSize(model, 868, 625), 60);  // the smaller side counts
  model.ViewMode = 1;
  EXPECT_EQ(GetCellSize(model, 868, 625), 40);  // 21 columns across
  EXPECT_EQ(GetCellSize(model, 310, 310), 25);  // 13 is raised
  set_order(30);
  model.ViewMode = 0;
  EXPECT_EQ(GetCellSize(model, 310, 310), 25);
  EXPECT_EQ(GetCellSize(model, 5, 5), 25);  // a bitmap smaller than its margins
}

TEST_F(SquareViewTest, FittedSizeHoldsTheWholeGrid) {
  EXPECT_EQ(get_fitted_view_size(model, 29).width, 310);
  EXPECT_EQ(get_fitted_view_size(model, 29).height, 310);
  model.ViewMode = 1;
  EXPECT_EQ(get_fitted_view_size(model, 40).width, 21 * 40 + 20);
  EXPECT_EQ(get_fitted_view_size(model, 40).height, 420);
}

TEST_F(SquareViewTest, PointsMapToCellsWithTheMarginInTheFirstCell) {
  auto at = [this](int x, int y) { return GetCellAtPoint(model, 310, 310, x, y); };
  EXPECT_EQ(at(5, 5).row, 0);
  EXPECT_EQ(at(5, 5).col, 0);
  EXPECT_EQ(at(10 + 29 * 3 + 28, 10 + 29 * 7).col, 3);
  EXPECT_EQ(at(10 + 29 * 3 + 28, 10 + 29 * 7).row, 7);
  EXPECT_EQ(at(305, 100).col, -1);  // right of the grid
  EXPECT_EQ(at(100, 400).row, 13);  // rows are left to the handlers
  model.ViewMode = 1;
  // Pair view at s = 25: column 10 is the gap, 11..20 the second square, 21 outside.
  EXPECT_EQ(GetCellAtPoint(model, 310, 310, 10 + 25 * 10 + 3, 20).col, 10);
  EXPECT_EQ(GetCellAtPoint(model, 310, 310, 10 + 25 * 20 + 3, 20).col, 20);
  EXPECT_EQ(GetCellAtPoint(model, 310, 310, 10 + 25 * 21 + 3, 20).col, -1);
}

TEST_F(SquareViewTest, RepeatsInRowsColumnsAndDiagonalsAreRed) {
  TLatinSquare& sq = model.FirstSquare;
  sq[2][1] = 3;
  sq[2][8] = 3;  // a row
  sq[4][5] = 7;
  sq[9][5] = 7;  // a column
  sq[0][0] = 1;
  sq[6][6] = 1;  // the main diagonal
  sq[1][8] = 2;
  sq[8][1] = 2;  // the anti-diagonal
  sq[3][4] = 5;
  sq[6][0] = 5;  // a cell off the diagonals sharing nothing: never red
  sq[1][1] = 9;  // (1,1) is on the main diagonal, (3,5) is not
  sq[3][5] = 9;
  ComputeRedCells(model, sq);
  int red = 0;
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) red += model.RedCells[i][j];
  EXPECT_EQ(red, 8);
  for (auto [i, j] : {std::pair{2, 1}, {2, 8}, {4, 5}, {9, 5}, {0, 0}, {6, 6}, {1, 8}, {8, 1}})
    EXPECT_TRUE(model.RedCells[i][j]) << i << "," << j;
}

TEST_F(SquareViewTest, FillRulesRedBeatsClueBeatsValueColour) {
  model.FirstSquare[0][0] = 4;
  model.FirstSquare[0][5] = 4;
  model.FirstSquare[3][3] = 6;
  model.FixedCells[0][0] = true;
  model.FixedCells[3][3] = true;
  model.FixedCells[5][5] = true;  // a clue cell that the player cleared is yellow too
  model.FirstSquare[7][2] = 1;
  EXPECT_EQ(cell_look(0, 0).fill, kClRed);
  EXPECT_EQ(cell_look(0, 5).fill, kClRed);
  EXPECT_EQ(cell_look(3, 3).fill, kClYellow);
  EXPECT_EQ(cell_look(5, 5).fill, kClYellow);
  EXPECT_EQ(cell_look(7, 2).fill, model.ValueColors[1]);
  EXPECT_EQ(cell_look(7, 2).text, 1);
  EXPECT_EQ(cell_look(8, 2).fill, kClWhite);
  EXPECT_EQ(cell_look(8, 2).text, kEmpty);
  EXPECT_EQ(cell_look(2, 3).x, 10 + 3 * 29);
  EXPECT_EQ(cell_look(2, 3).y, 10 + 2 * 29);
}

TEST_F(SquareViewTest, EmptyCellsShowTheirOnlyCandidateOrACross) {
  model.FirstSquare = StringToSquare(test::kBachelor);
  const int solution = model.FirstSquare[4][6];
  model.FirstSquare[4][6] = kEmpty;
  EXPECT_EQ(cell_look(4, 6).hint, solution);
  EXPECT_FALSE(cell_look(4, 6).cross);
  EXPECT_EQ(cell_look(4, 6).text, kEmpty);
  EXPECT_EQ(model.FirstSquare[4][6], kEmpty);  // the hint is only shown
  // Every value already sits in row 4 or column 6 apart from the cell: no candidate left.
  model.FirstSquare[4][7] = solution;
  EXPECT_TRUE(cell_look(4, 6).cross);
  EXPECT_EQ(cell_look(4, 6).hint, kEmpty);
  // An empty board has candidates everywhere: no marks.
  set_order(10);
  EXPECT_FALSE(cell_look(0, 0).cross);
  EXPECT_EQ(cell_look(0, 0).hint, kEmpty);
}

TEST_F(SquareViewTest, PairRepeatsMarkEveryLaterOccurrence) {
  const TLatinSquare bachelor = StringToSquare(test::kBachelor);
  model.FirstSquare = bachelor;
  model.SecondSquare = bachelor;
  model.ViewMode = 1;
  ComputePairRepeats(model);
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) EXPECT_EQ(model.PairRepeats[i][j], j > 0) << i << "," << j;

  // Both squares of the pair show the same marks in the view, on top of their own repeats.
  const auto first = get_square_looks(model, 10, 10, 29, model.FirstSquare);
  const auto second = get_square_looks(model, 10, 10 + 11 * 29, 29, model.SecondSquare);
  for (int k = 0; k < 100; ++k) {
    EXPECT_EQ(first[k].fill == kClRed, k % 10 > 0) << k;
    EXPECT_EQ(second[k].fill == kClRed, k % 10 > 0) << k;
  }
  EXPECT_EQ(second[0].x, 10 + 11 * 29);
}

TEST_F(SquareViewTest, PairRepeatsIgnoreEmptyCellsAndDistinctPairs) {
  // (i + j) and (i + 2j) mod 3: an orthogonal pair, every ordered pair once.
  set_order(3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      model.FirstSquare[i][j] = (i + j) % 3;
      model.SecondSquare[i][j] = (i + 2 * j) % 3;
    }
  ComputePairRepeats(model);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_FALSE(model.PairRepeats[i][j]);
  // Equal pairs that hold an empty cell do not count.
  model.ClearSquares();
  model.FirstSquare[0][0] = 1;
  model.FirstSquare[1][1] = 1;
  ComputePairRepeats(model);
  EXPECT_FALSE(model.PairRepeats[1][1]);
  model.SecondSquare[0][0] = 2;
  model.SecondSquare[1][1] = 2;
  ComputePairRepeats(model);
  EXPECT_FALSE(model.PairRepeats[0][0]);  // the first occurrence stays unmarked
  EXPECT_TRUE(model.PairRepeats[1][1]);
}

TEST_F(SquareViewTest, ClickStepsTheFirstSquareOutsideClues) {
  EXPECT_TRUE(click_cell(model, no_game, {0, 0}));
  EXPECT_EQ(model.FirstSquare[0][0], 0);  // an empty cell becomes 0
  model.FirstSquare[0][0] = 9;
  EXPECT_TRUE(click_cell(model, no_game, {0, 0}));
  EXPECT_EQ(model.FirstSquare[0][0], 0);  // and wraps, never empty
  EXPECT_FALSE(click_cell(model, no_game, {10, 0}));
  EXPECT_FALSE(click_cell(model, no_game, {0, -1}));

  TLatinSquare puzzle(10);
  puzzle[2][3] = 5;
  model.FirstSquare[2][3] = 5;
  EXPECT_FALSE(click_cell(model, puzzle, {2, 3}));
  EXPECT_EQ(model.FirstSquare[2][3], 5);

  // In pair view a click never reaches the second square, and the clue test still holds.
  model.ViewMode = 1;
  EXPECT_FALSE(click_cell(model, no_game, {0, 12}));
  EXPECT_EQ(model.SecondSquare[0][1], kEmpty);
  EXPECT_FALSE(click_cell(model, puzzle, {2, 3}));
  EXPECT_TRUE(click_cell(model, puzzle, {2, 4}));
}

TEST_F(SquareViewTest, WheelStepsBothWaysAndReachesTheSecondSquareInPairView) {
  EXPECT_TRUE(wheel_cell(model, no_game, {1, 1}, 120));
  EXPECT_EQ(model.FirstSquare[1][1], 0);
  EXPECT_TRUE(wheel_cell(model, no_game, {1, 1}, -120));
  EXPECT_EQ(model.FirstSquare[1][1], 9);
  EXPECT_TRUE(wheel_cell(model, no_game, {1, 2}, -1));
  EXPECT_EQ(model.FirstSquare[1][2], 8);  // from empty downwards: N - 2

  TLatinSquare puzzle(10);
  puzzle[1][1] = 9;
  EXPECT_FALSE(wheel_cell(model, puzzle, {1, 1}, 1));
  EXPECT_EQ(model.FirstSquare[1][1], 9);

  model.ViewMode = 1;
  EXPECT_TRUE(wheel_cell(model, puzzle, {1, 1}, 1));  // no clue test in pair view
  EXPECT_EQ(model.FirstSquare[1][1], 0);
  EXPECT_FALSE(wheel_cell(model, puzzle, {1, 10}, 1));  // the gap
  EXPECT_TRUE(wheel_cell(model, puzzle, {1, 20}, 1));
  EXPECT_EQ(model.SecondSquare[1][9], 0);
  EXPECT_FALSE(wheel_cell(model, puzzle, {1, -1}, 1));
  EXPECT_FALSE(wheel_cell(model, puzzle, {10, 5}, 1));
}

TEST_F(SquareViewTest, PopupValuesSetAndClearWithinTheOrder) {
  EXPECT_TRUE(set_cell_value(model, no_game, {4, 4}, 7));
  EXPECT_EQ(model.FirstSquare[4][4], 7);
  EXPECT_TRUE(set_cell_value(model, no_game, {4, 4}, kEmpty));
  EXPECT_EQ(model.FirstSquare[4][4], kEmpty);

  TLatinSquare puzzle(10);
  puzzle[4][4] = 3;
  EXPECT_FALSE(set_cell_value(model, puzzle, {4, 4}, 3));
  model.ViewMode = 1;
  EXPECT_TRUE(set_cell_value(model, puzzle, {4, 15}, 2));
  EXPECT_EQ(model.SecondSquare[4][4], 2);
  EXPECT_FALSE(set_cell_value(model, puzzle, {4, 10}, 2));

  // A menu built for a larger order must not put a value the square cannot hold.
  set_order(5);
  model.ViewMode = 0;
  EXPECT_FALSE(set_cell_value(model, no_game, {0, 0}, 7));
  EXPECT_EQ(model.FirstSquare[0][0], kEmpty);
}

TEST_F(SquareViewTest, ClueTestStaysInsideTheGamesSquare) {
  TLatinSquare puzzle(10);
  for (int i = 0; i < 10; ++i) puzzle[i][i] = i;
  set_order(12);
  EXPECT_FALSE(click_cell(model, puzzle, {3, 3}));
  EXPECT_TRUE(click_cell(model, puzzle, {11, 11}));
  EXPECT_TRUE(wheel_cell(model, puzzle, {10, 11}, 1));
  EXPECT_TRUE(set_cell_value(model, puzzle, {11, 10}, 11));
  EXPECT_EQ(model.FirstSquare[11][10], 11);
  set_order(4);
  EXPECT_FALSE(click_cell(model, puzzle, {2, 2}));
  EXPECT_TRUE(click_cell(model, puzzle, {2, 3}));
}

}  // namespace
}  // namespace dlslab
