#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <vector>

namespace dlslab {

/// Largest order the model and the order dialog accept.
inline constexpr int kMaxOrder = 30;
/// The order of the research routines, the digit string and the crossword.
inline constexpr int kOrder = 10;
/// Mark of an empty cell.
inline constexpr int kEmpty = -1;

/// Re-lays a flat row-major n x n block for a new order: cells present in both sizes keep their
/// values, new cells get `fill`.
template <class T, std::size_t kCells>
void resize_flat_grid(std::array<T, kCells>& cells, int old_n, int n, T fill) {
  const std::array<T, kCells> old = cells;
  cells.fill(fill);
  const int keep = old_n < n ? old_n : n;
  for (int r = 0; r < keep; ++r)
    for (int c = 0; c < keep; ++c) cells[r * n + c] = old[r * old_n + c];
}

/// A square of order 0..kMaxOrder, cells [row][column] in one flat row-major block.
/// Rows are `order()` ints apart, so an order-10 square is 100 contiguous ints.
class TLatinSquare {
 public:
  TLatinSquare() { cells_.fill(kEmpty); }
  /// An n x n square with every cell empty.
  explicit TLatinSquare(int n) : n_(n) {
    assert(n >= 0 && n <= kMaxOrder);
    cells_.fill(kEmpty);
  }

  [[nodiscard]] int order() const { return n_; }
  [[nodiscard]] int* operator[](int row) { return cells_.data() + row * n_; }
  [[nodiscard]] const int* operator[](int row) const { return cells_.data() + row * n_; }
  [[nodiscard]] int* data() { return cells_.data(); }
  [[nodiscard]] const int* data() const { return cells_.data(); }
  [[nodiscard]] int size() const { return n_ * n_; }

  /// Changes the order; cells present in both sizes keep their values, new cells get `fill`.
  void resize(int n, int fill) {
    assert(n >= 0 && n <= kMaxOrder);
    resize_flat_grid(cells_, n_, n, fill);
    n_ = n;
  }

  friend bool operator==(const TLatinSquare& a, const TLatinSquare& b) {
    if (a.n_ != b.n_) return false;
    for (int i = 0; i < a.size(); ++i)
      if (a.cells_[i] != b.cells_[i]) return false;
    return true;
  }

 private:
  int n_ = 0;
  std::array<int, kMaxOrder * kMaxOrder> cells_;
};

/// Dynamic integer arrays: value lists, permutations, candidates.
using TIntArr = std::vector<int>;
using TElemsArr = std::vector<int>;

/// 24-bit RGB, red in the low byte, blue in the high byte.
using TColor = std::int32_t;
inline constexpr TColor kClBlack = 0;
inline constexpr TColor kClRed = 255;
inline constexpr TColor kClGreen = 32768;
inline constexpr TColor kClYellow = 65535;
inline constexpr TColor kClWhite = 16777215;

[[nodiscard]] constexpr TColor rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
[[nodiscard]] constexpr int red_of(TColor c) { return c & 0xFF; }
[[nodiscard]] constexpr int green_of(TColor c) { return (c >> 8) & 0xFF; }
[[nodiscard]] constexpr int blue_of(TColor c) { return (c >> 16) & 0xFF; }

}  // namespace dlslab
