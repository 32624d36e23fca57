#include "transform/square_properties.h"

#include <array>

#include "model/orthogonality.h"
#include "model/ls_data_structs.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

bool is_value(int v, int n) { return v >= 0 && v < n; }

bool all_values(const TLatinSquare& s) {
  const int n = s.order();
  for (int k = 0; k < s.size(); ++k)
    if (!is_value(s.data()[k], n)) return false;
  return true;
}

// Position maps of the indices; a value outside 0..N-1 gets a position so far below zero that
// no sum of two positions reaches N-1.
constexpr int kNoPosition = -4 * kMaxOrder;
using PositionMap = std::array<int, kMaxOrder>;

template <typename Cell>
PositionMap position_map(int n, Cell cell) {
  PositionMap pos;
  pos.fill(kNoPosition);
  for (int k = 0; k < n; ++k)
    if (is_value(cell(k), n)) pos[cell(k)] = k;
  return pos;
}

int position(const PositionMap& pos, int v, int n) { return is_value(v, n) ? pos[v] : kNoPosition; }

// Pairs off lines: line a's partner is the first unpaired later line whose last cell equals
// a's first cell, and it must read as a backwards throughout.
template <typename Cell>
bool lines_pair_off_reversed(int n, Cell cell) {
  std::array<bool, kMaxOrder> matched{};
  for (int a = 0; a < n; ++a) {
    if (matched[a]) continue;
    int b = a + 1;
    while (b < n && (matched[b] || cell(b, n - 1) != cell(a, 0))) ++b;
    if (b == n) return false;
    for (int k = 1; k < n; ++k)
      if (cell(b, n - 1 - k) != cell(a, k)) return false;
    matched[b] = true;
  }
  return true;
}

using Move = void (*)(TLatinSquare&, const TLatinSquare&);

bool orthogonal_to_own(const TLatinSquare& s, Move move) {
  if (s.order() != kOrder) return false;
  TLatinSquare image = CreateSquare(kOrder);
  move(image, s);
  return OrthogonalityDefect(s, image) == 0;
}

}  // namespace

bool IsHorzSymmetric(const TLatinSquare& s) {
  const int n = s.order();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n / 2; ++j)
      if (s[i][j] + s[i][n - 1 - j] != n - 1) return false;
  return true;
}

bool IsVertSymmetric(const TLatinSquare& s) {
  const int n = s.order();
  if (n < 4) return true;
  if (!all_values(s)) return false;
  auto p = [&](int v) { return s[n - 1][v]; };
  for (int i = 1; i < n / 2; ++i)
    for (int j = 0; j < n; ++j) {
      const int v = s[i][j];
      const int w = p(v);
      if (w != s[n - 1 - i][j] || s[0][w] != w || p(w) != v) return false;
    }
  return true;
}

bool IsClockwiseSymmetric(const TLatinSquare& s) {
  const int n = s.order();
  if (!all_values(s)) return false;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (s[j][n - 1 - i] != s[s[i][j]][n - 1]) return false;
  return true;
}

bool IsCentralSymmetric(const TLatinSquare& s) {
  const int n = s.order();
  if (n < 2) return true;
  if (!all_values(s)) return false;
  auto g = [&](int v) { return s[n - 1][n - 1 - v]; };
  for (int i = 1; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const int v = s[i][j];
      const int w = s[n - 1 - i][n - 1 - j];
      if (w != g(v) || s[0][w] != w || g(w) != v) return false;
    }
  return true;
}

bool IsStrInv(const TLatinSquare& s) {
  return lines_pair_off_reversed(s.order(), [&](int row, int k) { return s[row][k]; });
}

bool IsColInv(const TLatinSquare& s) {
  return lines_pair_off_reversed(s.order(), [&](int col, int k) { return s[k][col]; });
}

bool IsPandiagonal(const TLatinSquare& s) {
  const int n = s.order();
  auto distinct = [&](auto column_of) {
    std::array<bool, kMaxOrder> seen{};
    for (int i = 0; i < n; ++i) {
      const int v = s[i][column_of(i)];
      if (!is_value(v, n) || seen[v]) return false;
      seen[v] = true;
    }
    return true;
  };
  for (int d = 0; d < n; ++d) {
    if (!distinct([&](int i) { return (i + d) % n; })) return false;
    if (!distinct([&](int i) { return (d + n - i) % n; })) return false;
  }
  return true;
}

bool IsAssociative(const TLatinSquare& s) {
  const int n = s.order();
  const int middle = n % 2 == 1 ? n / 2 : -1;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (i != middle && j != middle && s[i][j] + s[n - 1 - i][n - 1 - j] != n - 1) return false;
  return true;
}

bool IsTransSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, Transpose); }
bool IsAntiTransSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, Antitranspose); }
bool IsRightRotSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, RotateRight); }
bool IsLeftRotSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, RotateLeft); }
bool IsFlipHorzSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, FlipHorizontal); }
bool IsFlipVertSelfOrt(const TLatinSquare& s) { return orthogonal_to_own(s, FlipVertical); }

bool IsBrownSquare(const TLatinSquare& s) {
  return (IsHorzSymmetric(s) && IsStrInv(s)) || (IsVertSymmetric(s) && IsColInv(s));
}

int GetHorzSymmetryIndex(const TLatinSquare& s) {
  const int n = s.order();
  const PositionMap pos = position_map(n, [&](int k) { return s[0][k]; });
  int index = n;
  for (int i = 1; i < n; ++i)
    for (int j = 0; j < n / 2; ++j)
      if (position(pos, s[i][j], n) + position(pos, s[i][n - 1 - j], n) == n - 1) index += 2;
  return index;
}

int GetVertSymmetryIndex(const TLatinSquare& s) {
  const int n = s.order();
  const PositionMap pos = position_map(n, [&](int k) { return s[k][0]; });
  int index = n;
  for (int j = 1; j < n; ++j)
    for (int i = 0; i < n / 2; ++i)
      if (position(pos, s[i][j], n) + position(pos, s[n - 1 - i][j], n) == n - 1) index += 2;
  return index;
}

int GetCentralSymmetryIndex(const TLatinSquare& s) {
  const int n = s.order();
  TLatinSquare w = s;
  NormalizeByMainDiagonal(w);
  int index = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (is_value(w[i][j], n) && w[n - 1 - i][n - 1 - j] + w[i][j] == n - 1) index += 2;
  return index;
}

double GetSquareNumber(const TLatinSquare& s) {
  const int n = s.order();
  double v = 0;
  for (int k = 0; k < s.size(); ++k) v = v * (n - 1) + s.data()[k];
  return v;
}

int GetIntercalatesCount(const TLatinSquare& s) {
  const int n = s.order();
  int count = 0;
  for (int r1 = 0; r1 < n; ++r1)
    for (int r2 = r1 + 1; r2 < n; ++r2)
      for (int c1 = 0; c1 < n; ++c1)
        for (int c2 = c1 + 1; c2 < n; ++c2)
          if (s[r1][c1] == s[r2][c2] && s[r2][c1] == s[r1][c2]) ++count;
  return count;
}

TLatinSquare CreatePandiagonal(int n, int k) {
  TLatinSquare s(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) s[i][j] = ((i * k + j) % n + n) % n;
  return s;
}

}  // namespace dlslab
