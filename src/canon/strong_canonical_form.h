#pragma once

#include <array>

#include "canon/grid.h"
#include "model/types.h"

namespace dlslab {

/// Anti-diagonal of a square: a[i] = square[i][N-1-i].
[[nodiscard]] TIntArr GetAntiDiagonal(const TLatinSquare& square);

/// Diagonal-first order of order-10 squares: cells (k, k) and (k, 9-k) for k = 0..9 first,
/// then the other cells row by row; an empty cell sorts after every value. False when equal.
[[nodiscard]] bool IsDiagLess(const TLatinSquare& a, const TLatinSquare& b);
/// Cell indices in diagonal-first order: (k, k) and (k, 9-k) for k = 0..9, then the others
/// row by row.
inline constexpr std::array<std::int8_t, kOrder* kOrder> kDiagFirstCells = [] {
  std::array<std::int8_t, kOrder * kOrder> order{};
  int n = 0;
  for (int k = 0; k < kOrder; ++k) {
    order[n++] = static_cast<std::int8_t>(k * kOrder + k);
    order[n++] = static_cast<std::int8_t>(k * kOrder + kOrder - 1 - k);
  }
  for (int i = 0; i < kOrder; ++i)
    for (int j = 0; j < kOrder; ++j)
      if (j != i && i + j != kOrder - 1) order[n++] = static_cast<std::int8_t>(i * kOrder + j);
  return order;
}();

/// IsDiagLess on grids.
[[nodiscard]] bool diag_less(const Grid& a, const Grid& b);

/// Relabels every filled cell by its main-diagonal position (a value missing from the main
/// diagonal becomes 0), so that the main diagonal of a DLS reads 0..9.
void normalize_grid_by_main_diagonal(Grid& grid);

/// Number of entries of the anti-diagonal table.
inline constexpr int kScfLineCount = 67;
/// Line 1..67 of the table whose entry equals the ten values, or -1 when none does.
[[nodiscard]] int GetSCFLineNumber(const std::array<int, kOrder>& anti_diagonal);

}  // namespace dlslab
