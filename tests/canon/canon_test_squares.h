#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "canon/canonical_forms.h"
#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

// Squares for the canonical-form tests.
namespace dlslab::test {

/// Random DLS for the seeds 1..count, and the twenty embedded squares, which are rich in
/// symmetries and so in ties between candidates.
inline std::vector<TLatinSquare> canon_test_squares(int count) {
  std::vector<TLatinSquare> squares;
  for (int seed = 1; seed <= count; ++seed) squares.push_back(random_dls(seed));
  for (const SpecialSquare& special : kSpecialSquares)
    squares.push_back(StringToSquare(special.digits));
  return squares;
}

/// Every value v replaced by perm[v].
inline TLatinSquare relabelled_copy(const TLatinSquare& square, const std::array<int, 10>& perm) {
  TLatinSquare out = square;
  for (int i = 0; i < out.size(); ++i)
    if (out.data()[i] >= 0) out.data()[i] = perm[out.data()[i]];
  return out;
}

/// Some DLS of order 10 with the given main diagonal and anti-diagonal, by backtracking over
/// the other cells row by row; an empty square when there is none.
inline TLatinSquare dls_with_diagonals(const std::array<int, 10>& diag,
                                       const std::array<int, 10>& anti) {
  constexpr int n = 10;
  TLatinSquare s(n);
  std::array<unsigned, n> row{}, col{};
  for (int i = 0; i < n; ++i) {
    s[i][i] = diag[i];
    s[i][n - 1 - i] = anti[i];
  }
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (s[i][j] >= 0) {
        row[i] |= 1u << s[i][j];
        col[j] |= 1u << s[i][j];
      }
  struct Solver {
    TLatinSquare& s;
    std::array<unsigned, n>& row;
    std::array<unsigned, n>& col;
    bool fill(int cell) {
      if (cell == n * n) return true;
      const int i = cell / n, j = cell % n;
      if (j == i || j == n - 1 - i) return fill(cell + 1);
      for (int v = 0; v < n; ++v) {
        const unsigned bit = 1u << v;
        if ((row[i] | col[j]) & bit) continue;
        s[i][j] = v;
        row[i] |= bit;
        col[j] |= bit;
        if (fill(cell + 1)) return true;
        row[i] &= ~bit;
        col[j] &= ~bit;
      }
      s[i][j] = -1;
      return false;
    }
  } solver{s, row, col};
  if (!solver.fill(0)) return TLatinSquare(n);
  return s;
}

/// A fixture sharing, across its cases, canon_test_squares(kRandom) and one engine per case.
template <int kRandom>
class CanonSquaresTest : public ::testing::Test {
 protected:
  static const std::vector<TLatinSquare>& squares() {
    static const std::vector<TLatinSquare> squares = canon_test_squares(kRandom);
    return squares;
  }
  CanonEngine engine;
};

}  // namespace dlslab::test
