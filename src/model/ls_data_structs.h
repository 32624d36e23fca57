#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/types.h"

namespace dlslab {

/// An n x n square, all empty except the first row, which reads 0..n-1.
[[nodiscard]] TLatinSquare CreateSquare(int n);
/// Every cell := -1; with fill_first_row, cell (0, j) := j.
void ClearSquare(TLatinSquare& square, bool fill_first_row);
/// dest[i][j] := src[i][j] over src's order; dest takes src's order.
void CopySquare(TLatinSquare& dest, const TLatinSquare& src);
/// Number of cells holding a negative value.
[[nodiscard]] int GetEmptyCellsCount(const TLatinSquare& square);
/// No negative cell in rows and columns 0..9; false for orders below 10.
[[nodiscard]] bool IsFilled(const TLatinSquare& square);
/// No value other than -1 twice in a row, a column or either main diagonal.
[[nodiscard]] bool IsDiagonalLatin(const TLatinSquare& square);
/// Every cell holds a value 0..N-1 and no row or column holds one twice.
[[nodiscard]] bool is_complete_latin(const TLatinSquare& square);
/// Every cell is empty (-1) or holds a value 0..N-1: the values a square of its order can hold.
[[nodiscard]] bool holds_only_valid_values(const TLatinSquare& square);

/// Order-10 free-value tables of the exhaustive filling; true = value not placed yet.
using TFreeTable = std::array<std::array<bool, kOrder>, kOrder>;
using TFreeLine = std::array<bool, kOrder>;
/// Candidate values of one cell, ascending.
struct FreeValues {
  std::array<int, kOrder> values{};
  int count = 0;
};
[[nodiscard]] FreeValues GetFreeValues(const TFreeTable& row_free, const TFreeTable& col_free,
                                       const TFreeLine& diag_free, const TFreeLine& anti_diag_free,
                                       int row, int col);

/// Row-major digit string: the decimal value or "-" per cell, each followed by a blank
/// when with_spaces.
[[nodiscard]] std::string SquareToString(const TLatinSquare& square, bool with_spaces);
/// An order-10 square read from a digit string (blanks removed first); cells past the end of
/// the string keep CreateSquare's contents, non-digits become empty.
[[nodiscard]] TLatinSquare StringToSquare(std::string_view s);
/// Deletes every blank (character 32).
void RemoveSpaces(std::string& s);
/// Writes the square to the diagnostics stream, two characters per cell; with
/// print_collisions, one more line "Collisions: " and the empty-cell count.
void PrintSquare(const TLatinSquare& square, bool print_collisions);

}  // namespace dlslab
