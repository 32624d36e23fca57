#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ls_data_structs.h"
#include "model/types.h"

namespace dlslab {

/// One Boolean per cell of an order-n square, flat and row-major like TLatinSquare.
class TCellMask {
 public:
  [[nodiscard]] int order() const { return n_; }
  [[nodiscard]] bool* operator[](int row) { return cells_.data() + row * n_; }
  [[nodiscard]] const bool* operator[](int row) const { return cells_.data() + row * n_; }
  /// Changes the order keeping the entries present in both sizes; new entries are false.
  void resize(int n) {
    resize_flat_grid(cells_, n_, n, false);
    n_ = n;
  }
  void fill(bool value) { cells_.fill(value); }

 private:
  int n_ = 0;
  std::array<bool, kMaxOrder * kMaxOrder> cells_{};
};

/// What the window shows and every command works on: one square or a pair, the crossword's
/// clue mask, the per-value colours and the view's working masks.
class TLatinSquareClass {
 public:
  TLatinSquare FirstSquare;
  TLatinSquare SecondSquare;
  TCellMask FixedCells;
  std::vector<TColor> ValueColors;
  TCellMask RedCells;
  TCellMask PairRepeats;
  std::uint8_t ViewMode = 0;  ///< 0 single square, 1 pair of squares

  /// Resizes both squares (new cells read 0), the masks (new entries false) and resets the
  /// colours, which reseeds the random generator with 0.
  void SetOrder(int n);
  [[nodiscard]] int GetOrder() const { return FirstSquare.order(); }
  /// Every cell of both squares := -1.
  void ClearSquares();

  [[nodiscard]] int GetCell1(int row, int col) const { return FirstSquare[row][col]; }
  [[nodiscard]] int GetCell2(int row, int col) const { return SecondSquare[row][col]; }
  void SetCell1(int row, int col, int value) { FirstSquare[row][col] = value; }
  void SetCell2(int row, int col, int value) { SecondSquare[row][col] = value; }

  /// FirstSquare := a copy of square (which may be of another order than the model).
  void SetFirstSquare(const TLatinSquare& square) { FirstSquare = square; }
  void FillFirstRowAscending();
  /// Relabels the values of FirstSquare so that its first row reads 0..N-1.
  void NormalizeSquare();
  void SwapSquares();
  /// Marks every filled cell of FirstSquare as a clue.
  void MarkFixedCells();
  [[nodiscard]] int GetEmptyCellsCount() const { return dlslab::GetEmptyCellsCount(FirstSquare); }

  /// Values that may go into cell (row, col) of square, ascending.
  [[nodiscard]] static TElemsArr GetCandidates(const TLatinSquare& square, int row, int col);

  /// Writes the single or the pair form (by ViewMode); throws when the file can't be written.
  void SaveToFile(const std::string& file_name) const;
  /// Reads a square file; on any fault throws Error and leaves the model as it was.
  void LoadFromFile(const std::string& file_name);

 private:
  void ResetColors();
};

}  // namespace dlslab
