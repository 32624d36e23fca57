#include "transform/transformations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/apply_move.h"

namespace dlslab {
namespace {

using test::apply_move;
using test::Move;

TLatinSquare thorus(const TLatinSquare& src, int direction) {
  TLatinSquare dest = CreateSquare(src.order());
  ThorusMovement(dest, src, direction);
  return dest;
}

/// A Latin square of order n with rows, columns and values of the cyclic square shuffled, so
/// that no grid map or inverse leaves it as it is.
TLatinSquare asymmetric(int n) {
  std::mt19937 gen(n);
  std::vector<int> r(n), c(n), v(n);
  for (auto* p : {&r, &c, &v}) {
    std::iota(p->begin(), p->end(), 0);
    std::shuffle(p->begin(), p->end(), gen);
  }
  TLatinSquare s(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) s[i][j] = v[(r[i] + c[j]) % n];
  return s;
}

class GridMaps : public ::testing::Test {
 protected:
  const TLatinSquare dls = StringToSquare(test::kBachelor);
};

TEST_F(GridMaps, FormulasOnOrderThree) {
  TLatinSquare s(3);
  for (int i = 0; i < 9; ++i) s.data()[i] = i;  // rows 012 / 345 / 678
  auto rows = [](const TLatinSquare& q) {
    std::vector<int> v(q.data(), q.data() + q.size());
    return v;
  };
  EXPECT_EQ(rows(apply_move(Transpose, s)), (std::vector{0, 3, 6, 1, 4, 7, 2, 5, 8}));
  EXPECT_EQ(rows(apply_move(Antitranspose, s)), (std::vector{8, 5, 2, 7, 4, 1, 6, 3, 0}));
  EXPECT_EQ(rows(apply_move(RotateRight, s)), (std::vector{6, 3, 0, 7, 4, 1, 8, 5, 2}));
  EXPECT_EQ(rows(apply_move(RotateLeft, s)), (std::vector{2, 5, 8, 1, 4, 7, 0, 3, 6}));
  EXPECT_EQ(rows(apply_move(RotateDouble, s)), (std::vector{8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(rows(apply_move(FlipVertical, s)), (std::vector{6, 7, 8, 3, 4, 5, 0, 1, 2}));
  EXPECT_EQ(rows(apply_move(FlipHorizontal, s)), (std::vector{2, 1, 0, 5, 4, 3, 8, 7, 6}));
  EXPECT_EQ(rows(thorus(s, kThorusLeft)), (std::vector{1, 2, 0, 4, 5, 3, 7, 8, 6}));
  EXPECT_EQ(rows(thorus(s, kThorusRight)), (std::vector{2, 0, 1, 5, 3, 4, 8, 6, 7}));
  EXPECT_EQ(rows(thorus(s, kThorusUp)), (std::vector{3, 4, 5, 6, 7, 8, 0, 1, 2}));
  EXPECT_EQ(rows(thorus(s, kThorusDown)), (std::vector{6, 7, 8, 0, 1, 2, 3, 4, 5}));
}

TEST_F(GridMaps, RotatingFourTimesGivesTheSquareBack) {
  for (const int n : {1, 5, 7, 12, 30}) {
    const TLatinSquare s = asymmetric(n);
    TLatinSquare r = s;
    for (int k = 0; k < 4; ++k) {
      r = apply_move(RotateRight, r);
      if (n > 1 && k < 3) {
        EXPECT_NE(r, s) << n << " after " << k + 1;
      }
    }
    EXPECT_EQ(r, s) << n;
    EXPECT_EQ(apply_move(RotateLeft, apply_move(RotateRight, s)), s) << n;
    EXPECT_EQ(apply_move(RotateRight, apply_move(RotateRight, s)), apply_move(RotateDouble, s))
        << n;
  }
}

TEST_F(GridMaps, FlipsAndTranspositionsAreInvolutions) {
  for (const Move move : {Transpose, Antitranspose, RotateDouble, FlipVertical, FlipHorizontal}) {
    for (const TLatinSquare& s : {dls, asymmetric(7)}) {
      const TLatinSquare once = apply_move(move, s);
      EXPECT_NE(once, s);
      EXPECT_EQ(apply_move(move, once), s);
    }
  }
}

TEST_F(GridMaps, KeepDiagonalLatinSquaresDiagonal) {
  for (const auto& special : kSpecialSquares) {
    const TLatinSquare s = StringToSquare(special.digits);
    for (const Move move : {Transpose, Antitranspose, RotateRight, RotateLeft, RotateDouble,
                            FlipVertical, FlipHorizontal}) {
      const TLatinSquare image = apply_move(move, s);
      EXPECT_TRUE(IsFilled(image) && IsDiagonalLatin(image)) << special.caption;
    }
  }
}

TEST_F(GridMaps, TorusMovesUndoEachOther) {
  for (const TLatinSquare& s : {dls, asymmetric(5), asymmetric(1)}) {
    EXPECT_EQ(thorus(thorus(s, kThorusLeft), kThorusRight), s);
    EXPECT_EQ(thorus(thorus(s, kThorusUp), kThorusDown), s);
  }
  // A shifted DLS stays Latin but its diagonals break.
  const TLatinSquare left = thorus(dls, kThorusLeft);
  EXPECT_FALSE(IsDiagonalLatin(left));
}

TEST(ValueMaps, StringInverseEqualsFirstParastropheAtOrderTen) {
  for (const auto& special : kSpecialSquares) {
    const TLatinSquare s = StringToSquare(special.digits);
    const TLatinSquare inverse = [&] {
      TLatinSquare d = CreateSquare(10);
      GetStringInverseSquare(d, s);
      return d;
    }();
    EXPECT_EQ(inverse, GetParastrof1(s)) << special.caption;
  }
}

TEST(ValueMaps, InversesOfTheCyclicSquareOfOrderFour) {
  TLatinSquare s(4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) s[i][j] = (i + j) % 4;
  auto cells = [](const TLatinSquare& q) { return std::vector<int>(q.data(), q.data() + 16); };
  const std::vector<int> row_inverse{0, 1, 2, 3, 3, 0, 1, 2, 2, 3, 0, 1, 1, 2, 3, 0};
  EXPECT_EQ(cells(GetParastrof1(s)), row_inverse);
  EXPECT_EQ(cells(GetParastrof2(s)), row_inverse);  // D[j][i+j] = i
  TLatinSquare col = CreateSquare(4);
  GetColumnInverseSquare(col, s);
  EXPECT_EQ(cells(col), (std::vector{0, 3, 2, 1, 1, 0, 3, 2, 2, 1, 0, 3, 3, 2, 1, 0}));
}

TEST(ValueMaps, InversesAndParastrophesReturnTheSquare) {
  for (const TLatinSquare& s : {StringToSquare(test::kBachelor), asymmetric(7), asymmetric(12)}) {
    EXPECT_EQ(GetParastrof1(GetParastrof1(s)), s);
    TLatinSquare col = CreateSquare(s.order());
    GetColumnInverseSquare(col, s);
    TLatinSquare back = CreateSquare(s.order());
    GetColumnInverseSquare(back, col);
    EXPECT_EQ(back, s);
    // The second parastrophe has order three as a map of the triples.
    EXPECT_EQ(GetParastrof2(GetParastrof2(GetParastrof2(s))), s);
    EXPECT_NE(GetParastrof2(s), GetParastrof1(s));
  }
}

TEST(ValueMaps, SkipEmptyAndOutOfRangeCells) {
  TLatinSquare s = StringToSquare(test::kBachelor);
  s[3][4] = kEmpty;
  s[5][5] = 17;
  s[6][6] = -5;
  const TLatinSquare p1 = GetParastrof1(s);
  // Rows 3, 5 and 6 each lose one written cell, which keeps the fresh square's empty mark.
  EXPECT_EQ(GetEmptyCellsCount(p1), 3);
  const TLatinSquare p2 = GetParastrof2(s);
  EXPECT_EQ(GetEmptyCellsCount(p2), 3);
  TLatinSquare kept(10);
  for (int i = 0; i < 100; ++i) kept.data()[i] = 42;  // previous contents stay where unreached
  GetColumnInverseSquare(kept, s);
  EXPECT_EQ(std::count(kept.data(), kept.data() + 100, 42), 3);
}

TEST(Normalize, ByFirstRowRelabelsEverything) {
  TLatinSquare s = StringToSquare(test::kBachelor);
  TLatinSquare relabelled = s;
  for (int i = 0; i < 100; ++i) relabelled.data()[i] = (s.data()[i] * 3 + 1) % 10;
  NormalizeByFirstRow(relabelled);
  EXPECT_EQ(relabelled, s);
}

TEST(Normalize, ByFirstRowKeepsEmptyAndZeroesMissingValues) {
  TLatinSquare s(3);
  const int cells[] = {2, 0, 2, 1, -1, 0, 0, 2, 1};  // value 1 missing from the first row
  std::copy(std::begin(cells), std::end(cells), s.data());
  NormalizeByFirstRow(s);
  // map: 2 -> 2 (last occurrence wins), 0 -> 1; 1 -> 0 (not in the first row)
  EXPECT_EQ((std::vector<int>(s.data(), s.data() + 9)), (std::vector{0, 1, 2, 0, -1, 1, 1, 2, 0}));
}

TEST(Normalize, ByMainDiagonalGivesDiagonalZeroToN) {
  for (const auto& special : kSpecialSquares) {
    TLatinSquare s = StringToSquare(special.digits);
    NormalizeByMainDiagonal(s);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s[i][i], i) << special.caption;
    EXPECT_TRUE(IsFilled(s) && IsDiagonalLatin(s)) << special.caption;
  }
  TLatinSquare partial(3);  // diagonal 2, -, 2: value 0 and 1 missing
  const int cells[] = {2, 1, 0, 0, -1, 1, 1, 0, 2};
  std::copy(std::begin(cells), std::end(cells), partial.data());
  NormalizeByMainDiagonal(partial);
  EXPECT_EQ((std::vector<int>(partial.data(), partial.data() + 9)),
            (std::vector{2, 0, 0, 0, -1, 0, 0, 0, 2}));
}

TEST(RowColumnPrimitives, SwapsAndPairFlips) {
  const TLatinSquare s = StringToSquare(test::kBachelor);
  TLatinSquare t = s;
  SwapRows(t, 2, 2);
  SwapColumns(t, 5, 5);
  EXPECT_EQ(t, s);
  SwapRows(t, 0, 9);
  EXPECT_EQ(t[0][3], s[9][3]);
  EXPECT_EQ(t[9][3], s[0][3]);
  SwapColumns(t, 1, 4);
  EXPECT_EQ(t[0][1], s[9][4]);

  for (int k = 0; k < 5; ++k) {
    TLatinSquare f = s;
    FlipPair(f, k);
    EXPECT_EQ(f[k][k], s[9 - k][9 - k]);
    EXPECT_EQ(f[k][9 - k], s[9 - k][k]);
    EXPECT_TRUE(IsDiagonalLatin(f)) << k;
    FlipPair(f, k);
    EXPECT_EQ(f, s);
  }
  for (int a = 0; a < 5; ++a)
    for (int b = 0; b < 5; ++b) {
      TLatinSquare p = s;
      SwapPairs(p, a, b);
      EXPECT_TRUE(IsDiagonalLatin(p)) << a << b;
      EXPECT_EQ(p[a][b], s[b][a]);
      EXPECT_EQ(p[9 - a][9 - b], s[9 - b][9 - a]);
      SwapPairs(p, b, a);
      EXPECT_EQ(p, s);
    }
}

}  // namespace
}  // namespace dlslab
