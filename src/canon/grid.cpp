#include "canon/grid.h"

#include <cassert>

namespace dlslab {

Grid to_grid(const TLatinSquare& square) {
  assert(square.order() == kOrder);
  Grid grid;
  for (int i = 0; i < kOrder * kOrder; ++i) {
    const int v = square.data()[i];
    grid[i] = static_cast<std::int8_t>(v >= 0 && v < kOrder ? v : kEmpty);
  }
  return grid;
}

TLatinSquare to_square(const Grid& grid) {
  TLatinSquare square(kOrder);
  for (int i = 0; i < kOrder * kOrder; ++i) square.data()[i] = grid[i];
  return square;
}

bool is_latin_grid(const Grid& grid) {
  constexpr unsigned kAll = (1u << kOrder) - 1;
  for (int i = 0; i < kOrder; ++i) {
    unsigned row = 0;
    unsigned col = 0;
    for (int j = 0; j < kOrder; ++j) {
      const int r = grid[i * kOrder + j];
      const int c = grid[j * kOrder + i];
      if (r < 0 || c < 0) return false;
      row |= 1u << r;
      col |= 1u << c;
    }
    if (row != kAll || col != kAll) return false;
  }
  return true;
}

Grid relabel_by_first_row(const Grid& grid) {
  std::array<std::int8_t, kOrder> map{};
  for (int k = 0; k < kOrder; ++k)
    if (grid[k] >= 0) map[grid[k]] = static_cast<std::int8_t>(k);
  Grid out;
  for (int k = 0; k < kOrder; ++k) out[k] = static_cast<std::int8_t>(k);
  for (int i = kOrder; i < kOrder * kOrder; ++i) out[i] = grid[i] < 0 ? grid[i] : map[grid[i]];
  return out;
}

bool grid_less(const Grid& a, const Grid& b) {
  for (int i = 0; i < kOrder * kOrder; ++i)
    if (a[i] != b[i]) return a[i] < b[i];
  return false;
}

}  // namespace dlslab
