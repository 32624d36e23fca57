#include "transform/transformations.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

#include "model/ls_data_structs.h"

namespace dlslab {
namespace {

// Every cell-moving routine is "dest[row(i, j)][col(i, j)] = src[i][j]" for some index map;
// `move_cells` walks the source once and stores through the map.
template <typename Map>
void move_cells(TLatinSquare& dest, const TLatinSquare& src, Map to) {
  assert(&dest != &src);
  const int n = src.order();
  if (dest.order() != n) dest = CreateSquare(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const auto [r, c] = to(n, i, j);
      dest[r][c] = src[i][j];
    }
}

bool is_value(int v, int n) { return v >= 0 && v < n; }

// Applies a value map to every cell that holds a value 0..N-1; other cells stay as they are.
void relabel(TLatinSquare& square, const std::array<int, kMaxOrder>& map, int first_row) {
  const int n = square.order();
  for (int i = first_row; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (is_value(square[i][j], n)) square[i][j] = map[square[i][j]];
}

}  // namespace

void Transpose(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int, int i, int j) { return std::pair{j, i}; });
}

void Antitranspose(TLatinSquare& dest, const TLatinSquare& src) {
  // D[i][j] = S[N-1-j][N-1-i], i.e. S[i][j] goes to (N-1-j, N-1-i).
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{n - 1 - j, n - 1 - i}; });
}

void RotateRight(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{j, n - 1 - i}; });
}

void RotateLeft(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{n - 1 - j, i}; });
}

void RotateDouble(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{n - 1 - i, n - 1 - j}; });
}

void FlipVertical(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{n - 1 - i, j}; });
}

void FlipHorizontal(TLatinSquare& dest, const TLatinSquare& src) {
  move_cells(dest, src, [](int n, int i, int j) { return std::pair{i, n - 1 - j}; });
}

void ThorusMovement(TLatinSquare& dest, const TLatinSquare& src, int direction) {
  // Source cell (i, j) lands one place against the direction it is read from.
  switch (direction) {
    case kThorusLeft:
      move_cells(dest, src, [](int n, int i, int j) { return std::pair{i, (j + n - 1) % n}; });
      break;
    case kThorusRight:
      move_cells(dest, src, [](int n, int i, int j) { return std::pair{i, (j + 1) % n}; });
      break;
    case kThorusUp:
      move_cells(dest, src, [](int n, int i, int j) { return std::pair{(i + n - 1) % n, j}; });
      break;
    case kThorusDown:
      move_cells(dest, src, [](int n, int i, int j) { return std::pair{(i + 1) % n, j}; });
      break;
    default:
      break;
  }
}

void GetStringInverseSquare(TLatinSquare& dest, const TLatinSquare& src) {
  assert(&dest != &src);
  const int n = src.order();
  if (dest.order() != n) dest = CreateSquare(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (is_value(src[i][j], n)) dest[i][src[i][j]] = j;
}

void GetColumnInverseSquare(TLatinSquare& dest, const TLatinSquare& src) {
  assert(&dest != &src);
  const int n = src.order();
  if (dest.order() != n) dest = CreateSquare(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (is_value(src[i][j], n)) dest[src[i][j]][j] = i;
}

TLatinSquare GetParastrof1(const TLatinSquare& src) {
  TLatinSquare dest = CreateSquare(src.order());
  GetStringInverseSquare(dest, src);
  return dest;
}

TLatinSquare GetParastrof2(const TLatinSquare& src) {
  const int n = src.order();
  TLatinSquare dest = CreateSquare(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (is_value(src[i][j], n)) dest[j][src[i][j]] = i;
  return dest;
}

void NormalizeByFirstRow(TLatinSquare& square) {
  // A fresh map per call, so that a value missing from the first row always becomes 0 and the
  // result never depends on earlier calls.
  const int n = square.order();
  if (n == 0) return;
  std::array<int, kMaxOrder> map{};
  for (int k = 0; k < n; ++k)
    if (is_value(square[0][k], n)) map[square[0][k]] = k;
  for (int k = 0; k < n; ++k) square[0][k] = k;
  relabel(square, map, 1);
}

void NormalizeByMainDiagonal(TLatinSquare& square) {
  const int n = square.order();
  std::array<int, kMaxOrder> map{};
  for (int i = 0; i < n; ++i)
    if (is_value(square[i][i], n)) map[square[i][i]] = i;
  relabel(square, map, 0);
}

void SwapRows(TLatinSquare& square, int a, int b) {
  assert(a >= 0 && a < square.order() && b >= 0 && b < square.order());
  if (a == b) return;
  std::swap_ranges(square[a], square[a] + square.order(), square[b]);
}

void SwapColumns(TLatinSquare& square, int a, int b) {
  assert(a >= 0 && a < square.order() && b >= 0 && b < square.order());
  if (a == b) return;
  for (int i = 0; i < square.order(); ++i) std::swap(square[i][a], square[i][b]);
}

void FlipPair(TLatinSquare& square, int k) {
  const int last = square.order() - 1;
  SwapRows(square, k, last - k);
  SwapColumns(square, k, last - k);
}

void SwapPairs(TLatinSquare& square, int a, int b) {
  const int last = square.order() - 1;
  SwapRows(square, a, b);
  SwapRows(square, last - a, last - b);
  SwapColumns(square, a, b);
  SwapColumns(square, last - a, last - b);
}

}  // namespace dlslab
