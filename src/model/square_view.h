#pragma once

#include <vector>

#include "model/latin_square_class.h"
#include "model/types.h"

// What the square view shows and how the mouse edits it, without any drawing toolkit: the
// window paints the cell looks computed here and forwards its mouse events to the editing rules.
namespace dlslab {

/// Blank border, in pixels, between the bitmap's edge and the grid.
inline constexpr int kViewMargin = 10;
/// Smallest cell size; a grid that does not fit is cut off at the bitmap's edges.
inline constexpr int kMinCellSize = 25;

/// Cell size for a bitmap of width x height in the model's view mode.
[[nodiscard]] int GetCellSize(const TLatinSquareClass& model, int width, int height);

/// Width and height of a bitmap that holds the whole grid at the given cell size, margins
/// included (the size "Save as bmp..." writes).
struct ViewSize {
  int width = 0;
  int height = 0;
};
[[nodiscard]] ViewSize get_fitted_view_size(const TLatinSquareClass& model, int cell_size);

/// RedCells := the cells whose value repeats in their row, column or (for diagonal cells)
/// diagonal of square.
void ComputeRedCells(TLatinSquareClass& model, const TLatinSquare& square);
/// PairRepeats := the cells whose ordered pair (first, second) already occurred in an
/// earlier cell, counting column by column; pairs with an empty cell never repeat.
void ComputePairRepeats(TLatinSquareClass& model);
/// RedCells := RedCells or PairRepeats.
void MergePairRepeats(TLatinSquareClass& model);

/// Row and column of a view position. Column: 0..N-1 first square; in pair view N is the gap
/// and N+1..2N the second square; -1 right of the grid. Rows are not bounded.
struct CellPos {
  int row = 0;
  int col = 0;
  friend bool operator==(const CellPos&, const CellPos&) = default;
};
/// The cell under the bitmap point (x, y); the margin belongs to row and column 0.
[[nodiscard]] CellPos GetCellAtPoint(const TLatinSquareClass& model, int width, int height, int x,
                                     int y);

/// How one cell is painted: its rectangle (x, y, size x size), the fill, and what is written in
/// it. `text` is a value in black, `hint` the single candidate of an empty cell in green.
struct CellLook {
  int x = 0;
  int y = 0;
  TColor fill = kClWhite;
  int text = kEmpty;
  int hint = kEmpty;
  bool cross = false;  ///< an empty cell that no value fits
};

/// The looks of every cell of square, row by row, with its top-left corner at (left, top).
/// Recomputes RedCells from square first (merged with PairRepeats in pair view, which the
/// caller computed for the pair).
[[nodiscard]] std::vector<CellLook> get_square_looks(TLatinSquareClass& model, int top, int left,
                                                   int cell_size, const TLatinSquare& square);

/// Whether the crossword protects cell (row, col): it holds a clue in the puzzle copy. Cells
/// outside the puzzle copy (another order than the game's) are never protected.
[[nodiscard]] bool is_clue_cell(const TLatinSquare& puzzle, int row, int col);

// Mouse editing of the view at a cell given as by GetCellAtPoint. Each returns true when it
// wrote the cell (the view then redraws); out of bounds, on the gap or on a protected clue it
// does nothing and returns false.

/// Left click: the first square's cell steps to the next value (an empty cell becomes 0).
/// Never acts on the second square.
bool click_cell(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell);
/// Wheel: steps the cell up (delta > 0) or down; in pair view either square, without the
/// clue test.
bool wheel_cell(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell, int delta);
/// Pop-up menu: sets the cell to value (-1 clears it); in pair view either square, without the
/// clue test. A value outside -1..N-1 (a menu left over from another order) is ignored.
bool set_cell_value(TLatinSquareClass& model, const TLatinSquare& puzzle, CellPos cell, int value);

}  // namespace dlslab
