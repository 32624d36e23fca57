#include "canon/strong_canonical_form.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "canon/canon_test_squares.h"
#include "canon/canonical_forms.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

std::array<int, 10> digit_array(const char* s) {
  std::array<int, 10> a{};
  for (int i = 0; i < 10; ++i) a[i] = s[i] - '0';
  return a;
}

std::array<int, 10> anti_diagonal_of(const TLatinSquare& s) {
  const TIntArr a = GetAntiDiagonal(s);
  std::array<int, 10> out{};
  std::copy(a.begin(), a.end(), out.begin());
  return out;
}

TEST(GetSCFLineNumber, FindsFirstAndLastLines) {
  EXPECT_EQ(GetSCFLineNumber(digit_array("1032674598")), 1);
  EXPECT_EQ(GetSCFLineNumber(digit_array("1032674895")), 2);
  EXPECT_EQ(GetSCFLineNumber(digit_array("1204785936")), 50);
  EXPECT_EQ(GetSCFLineNumber(digit_array("1237695408")), 67);
}

TEST(GetSCFLineNumber, UnknownAntiDiagonals) {
  EXPECT_EQ(GetSCFLineNumber(digit_array("0123456789")), -1);
  EXPECT_EQ(GetSCFLineNumber(digit_array("1032674589")), -1);
  EXPECT_EQ(GetSCFLineNumber({1, 0, 3, 2, 6, 7, 4, 5, 9, -1}), -1);
}

TEST(IsDiagLess, DiagonalsDecideBeforeOtherCells) {
  const TLatinSquare a = StringToSquare(test::kBachelor);
  TLatinSquare b = a;
  EXPECT_FALSE(IsDiagLess(a, b));
  b[0][1] = 0;   // an earlier cell in row-major order, but off the diagonals
  b[9][0] += 1;  // an anti-diagonal cell: larger in b
  EXPECT_TRUE(IsDiagLess(a, b));
  EXPECT_FALSE(IsDiagLess(b, a));
  b = a;
  b[0][0] = kEmpty;  // an empty cell sorts after every value
  EXPECT_TRUE(IsDiagLess(a, b));
}

using StrongCanonicalFormTest = test::CanonSquaresTest<4>;

TEST_F(StrongCanonicalFormTest, DiagonalAscendingAndAntiDiagonalInTable) {
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare scf = engine.GetStrongCanonicalForm(s);
    EXPECT_TRUE(IsFilled(scf));
    EXPECT_TRUE(IsDiagonalLatin(scf));
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(scf[i][i], i);
      EXPECT_NE(scf[i][9 - i], i);
      EXPECT_NE(scf[i][9 - i], 9 - i);
    }
    EXPECT_GT(GetSCFLineNumber(anti_diagonal_of(scf)), 0) << SquareToString(s, false);
  }
}

TEST_F(StrongCanonicalFormTest, SameForEquivalentSquaresAndIdempotent) {
  const std::array<int, 10> perm{3, 7, 0, 9, 1, 8, 2, 6, 4, 5};
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare scf = engine.GetStrongCanonicalForm(s);
    TLatinSquare t;
    RotateRight(t, s);
    EXPECT_EQ(engine.GetStrongCanonicalForm(t), scf);
    t = s;
    SwapPairs(t, 1, 3);
    FlipPair(t, 4);
    EXPECT_EQ(engine.GetStrongCanonicalForm(t), scf);
    EXPECT_EQ(engine.GetStrongCanonicalForm(test::relabelled_copy(s, perm)), scf);
    EXPECT_EQ(engine.GetStrongCanonicalForm(scf), scf);
    EXPECT_EQ(GetStrongCanonicalForm(s), scf);
  }
}

/// Every candidate of the square: its orbit under the moves that keep both diagonals as
/// diagonals (exchanging two mirror pairs of lines, exchanging the lines of one pair, the
/// transposition and the left-right flip), closed by search.
std::vector<TLatinSquare> candidates(const TLatinSquare& square) {
  std::vector<TLatinSquare> orbit{square};
  std::set<std::string> seen{SquareToString(square, false)};
  for (std::size_t next = 0; next < orbit.size(); ++next) {
    const TLatinSquare s = orbit[next];
    std::vector<TLatinSquare> moved(7, s);
    for (int a = 0; a < 4; ++a) SwapPairs(moved[a], a, a + 1);
    FlipPair(moved[4], 0);
    Transpose(moved[5], s);
    FlipHorizontal(moved[6], s);
    for (const TLatinSquare& m : moved)
      if (seen.insert(SquareToString(m, false)).second) orbit.push_back(m);
  }
  return orbit;
}

/// The cells in the order of the diagonal-first comparison, an empty cell as 100.
std::vector<int> diagonal_first_key(const TLatinSquare& s) {
  std::vector<int> key;
  auto add = [&](int i, int j) { key.push_back(s[i][j] < 0 ? 100 : s[i][j]); };
  for (int k = 0; k < 10; ++k) {
    add(k, k);
    add(k, 9 - k);
  }
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j)
      if (j != i && i + j != 9) add(i, j);
  return key;
}

/// The strong canonical form by brute force: each candidate relabelled by its main diagonal,
/// the least in the diagonal-first order kept.
TLatinSquare strong_form_by_brute_force(const TLatinSquare& square) {
  const std::vector<TLatinSquare> orbit = candidates(square);
  EXPECT_EQ(15360 % orbit.size(), 0u);  // an orbit of the group of 15360 moves
  TLatinSquare best;
  std::vector<int> best_key;
  for (TLatinSquare c : orbit) {
    NormalizeByMainDiagonal(c);
    std::vector<int> key = diagonal_first_key(c);
    if (best_key.empty() || key < best_key) {
      best = c;
      best_key = std::move(key);
    }
  }
  return best;
}

TEST(StrongCanonicalForm, MatchesBruteForce) {
  TLatinSquare partial = test::random_dls(21);
  partial[3][3] = kEmpty;
  partial[0][9] = kEmpty;
  partial[5][1] = kEmpty;
  ASSERT_EQ(candidates(test::random_dls(2)).size(), 15360u);
  for (const TLatinSquare& s :
       {test::random_dls(2), test::random_dls(13), StringToSquare(test::kBachelor), partial}) {
    EXPECT_EQ(SquareToString(GetStrongCanonicalForm(s), false),
              SquareToString(strong_form_by_brute_force(s), false));
  }
}

TEST(StrongCanonicalForm, AntiDiagonalOfFirstAndLastLines) {
  const std::array<int, 10> diagonal{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (const char* line : {"1032674598", "1237695408"}) {
    const TLatinSquare s = test::dls_with_diagonals(diagonal, digit_array(line));
    ASSERT_TRUE(IsFilled(s)) << line;
    ASSERT_TRUE(IsDiagonalLatin(s));
    EXPECT_EQ(anti_diagonal_of(GetStrongCanonicalForm(s)), digit_array(line));
  }
}

TEST(StrongCanonicalForm, PartialSquareKeepsItsEmptyCellsCount) {
  TLatinSquare s = StringToSquare(test::kBachelor);
  s[2][5] = kEmpty;
  s[7][7] = kEmpty;
  const TLatinSquare scf = GetStrongCanonicalForm(s);
  EXPECT_EQ(GetEmptyCellsCount(scf), 2);
  EXPECT_EQ(GetStrongCanonicalForm(scf), scf);
}

}  // namespace
}  // namespace dlslab
