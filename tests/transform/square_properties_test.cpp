#include "transform/square_properties.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "model/orthogonality.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "transform/apply_move.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

using test::apply_move;
using test::Move;

TLatinSquare relabelled_copy(const TLatinSquare& s, const std::function<int(int)>& map) {
  TLatinSquare r = s;
  for (int k = 0; k < r.size(); ++k) r.data()[k] = map(r.data()[k]);
  return r;
}

TLatinSquare linear_square(int n, int a, int b) {
  TLatinSquare s(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) s[i][j] = (a * i + b * j) % n;
  return s;
}

TLatinSquare special(std::string_view caption) {
  for (const auto& s : kSpecialSquares)
    if (s.caption == caption) return StringToSquare(s.digits);
  ADD_FAILURE() << caption;
  return {};
}

/// The catalogue and a few images of each: enough variety for the equivalence checks.
std::vector<TLatinSquare> sample_squares() {
  std::vector<TLatinSquare> all;
  for (const auto& s : kSpecialSquares) {
    const TLatinSquare sq = StringToSquare(s.digits);
    all.push_back(sq);
    TLatinSquare t = apply_move(Transpose, sq);
    all.push_back(t);
    NormalizeByFirstRow(t);
    all.push_back(t);
    all.push_back(apply_move(RotateRight, sq));
  }
  return all;
}

// Each symmetry predicate says that a grid image of the square is the square relabelled by a
// value map read off the square; check it against that statement on every test square.
TEST(SymmetryPredicates, MatchTheirGridImageStatement) {
  int horz = 0, vert = 0;
  for (const TLatinSquare& s : sample_squares()) {
    const bool complement =
        apply_move(FlipHorizontal, s) == relabelled_copy(s, [](int v) { return 9 - v; });
    EXPECT_EQ(IsHorzSymmetric(s), complement);
    horz += complement;

    const bool first_row_fixed = [&] {
      for (int j = 0; j < 10; ++j)
        if (s[0][j] != j) return false;
      return true;
    }();
    auto p = [&](int v) { return s[9][v]; };
    bool p_involution = true;
    for (int v = 0; v < 10; ++v) p_involution &= p(p(v)) == v;
    const bool vert_image =
        first_row_fixed && p_involution && apply_move(FlipVertical, s) == relabelled_copy(s, p);
    EXPECT_EQ(IsVertSymmetric(s), vert_image);
    vert += vert_image;

    auto g = [&](int v) { return s[9][9 - v]; };
    bool g_involution = true;
    for (int v = 0; v < 10; ++v) g_involution &= g(g(v)) == v;
    EXPECT_EQ(IsCentralSymmetric(s), first_row_fixed && g_involution &&
                                         apply_move(RotateDouble, s) == relabelled_copy(s, g));

    auto q = [&](int v) { return s[v][9]; };
    EXPECT_EQ(IsClockwiseSymmetric(s), s == relabelled_copy(apply_move(RotateRight, s), q));
  }
  // Horizontally symmetric catalogue squares become vertically symmetric when transposed and
  // normalized, so both statements are exercised both ways.
  EXPECT_GT(horz, 0);
  EXPECT_GT(vert, 0);
}

TEST(SymmetryPredicates, LinearSquaresOfOrderFive) {
  // (2i + j) mod 5: turning it clockwise relabels it by v -> 2v + 4, which is its last column;
  // every broken diagonal is a transversal.
  const TLatinSquare clockwise = linear_square(5, 2, 1);
  EXPECT_TRUE(IsClockwiseSymmetric(clockwise));
  EXPECT_TRUE(IsPandiagonal(clockwise));
  // (3i + j) mod 5 turned 180 degrees is relabelled by v -> 1 - v: centrally symmetric with an
  // involution other than the complement, so not associative.
  const TLatinSquare central = linear_square(5, 3, 1);
  EXPECT_TRUE(IsCentralSymmetric(central));
  EXPECT_FALSE(IsAssociative(central));
  // (2i + 4j) mod 5 is the complement of itself turned 180 degrees, but its first row is not
  // 0..4, so the relabelling is not one the central test accepts.
  const TLatinSquare assoc = linear_square(5, 2, 4);
  EXPECT_TRUE(IsAssociative(assoc));
  EXPECT_FALSE(IsCentralSymmetric(assoc));
  EXPECT_FALSE(IsPandiagonal(linear_square(5, 1, 1)));  // anti-diagonals of (i + j) are constant
  EXPECT_FALSE(IsClockwiseSymmetric(linear_square(5, 1, 1)));
}

TEST(SymmetryPredicates, NoOrderTenCyclicSquareIsPandiagonal) {
  // Broken diagonals need k-1 and k+1 prime to 10, columns need k prime to 10: never both.
  int pandiagonal = 0;
  for (int k = 0; k < 10; ++k) {
    const TLatinSquare s = CreatePandiagonal(10, k);
    EXPECT_FALSE(IsPandiagonal(s) && IsDiagonalLatin(s)) << k;
    pandiagonal += IsPandiagonal(s);
  }
  EXPECT_EQ(pandiagonal, 3);  // k = 2, 4, 8
  EXPECT_TRUE(IsPandiagonal(CreatePandiagonal(7, 2)));
}

TEST(InversionPredicates, XorSquareOfOrderFour) {
  // Rows 0123 1032 2301 3210: row 0 backwards is row 3, row 1 backwards is row 2.
  TLatinSquare x(4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) x[i][j] = i ^ j;
  EXPECT_TRUE(IsStrInv(x));
  EXPECT_TRUE(IsColInv(x));
  EXPECT_TRUE(IsHorzSymmetric(x));
  EXPECT_TRUE(IsBrownSquare(x));
  EXPECT_FALSE(IsAssociative(x));
  x[1][1] = 3;  // row 2 no longer reads row 1 backwards
  EXPECT_FALSE(IsStrInv(x));
  EXPECT_FALSE(IsStrInv(linear_square(5, 1, 1)));  // odd order: the rows cannot pair off
}

TEST(InversionPredicates, TranspositionSwapsRowsAndColumns) {
  int brown = 0;
  for (const TLatinSquare& s : sample_squares()) {
    const TLatinSquare t = apply_move(Transpose, s);
    EXPECT_EQ(IsStrInv(s), IsColInv(t));
    EXPECT_EQ(IsColInv(s), IsStrInv(t));
    // Row i of the horizontally flipped square is row i backwards, so the flip keeps the
    // pairing.
    EXPECT_EQ(IsStrInv(s), IsStrInv(apply_move(FlipHorizontal, s)));
    brown += IsBrownSquare(s);
  }
  EXPECT_GT(brown, 0);
  EXPECT_TRUE(IsBrownSquare(special("1:6")));
  EXPECT_FALSE(IsBrownSquare(special("Bachelor")));
}

TEST(SelfOrthogonality, AgreesWithTheDefectOfTheImage) {
  const TLatinSquare loop = special("Loop-4");
  EXPECT_TRUE(IsTransSelfOrt(loop));
  // Turning a square conjugates the transposition into the anti-transposition.
  EXPECT_TRUE(IsAntiTransSelfOrt(apply_move(RotateRight, loop)));
  EXPECT_FALSE(IsTransSelfOrt(special("Bachelor")));
  for (const TLatinSquare& s : sample_squares()) {
    // s is orthogonal to its right turn exactly when its left turn is orthogonal to s.
    EXPECT_EQ(IsRightRotSelfOrt(s), IsLeftRotSelfOrt(s));
    // A row read backwards never pairs a value with itself: no flip self-orthogonality.
    EXPECT_FALSE(IsFlipHorzSelfOrt(s));
    EXPECT_FALSE(IsFlipVertSelfOrt(s));
    EXPECT_EQ(IsTransSelfOrt(s), OrthogonalityDefect(s, apply_move(Transpose, s)) == 0);
  }
  EXPECT_FALSE(IsTransSelfOrt(linear_square(5, 2, 1)));  // other orders: never
}

TEST(SymmetryIndices, HorizontalIndex) {
  const TLatinSquare line3 = special("Symmetric Line-3");
  ASSERT_TRUE(IsHorzSymmetric(line3));
  EXPECT_EQ(GetHorzSymmetryIndex(line3), 100);
  for (const TLatinSquare& s : sample_squares()) {
    const int hsi = GetHorzSymmetryIndex(s);
    EXPECT_TRUE(hsi >= 10 && hsi <= 100 && hsi % 2 == 0) << hsi;
    // Positions, not values, decide: a relabelling keeps the index; transposition moves it to
    // the vertical one.
    EXPECT_EQ(GetHorzSymmetryIndex(relabelled_copy(s, [](int v) { return (v * 3 + 7) % 10; })),
              hsi);
    EXPECT_EQ(GetVertSymmetryIndex(apply_move(Transpose, s)), hsi);
  }
  EXPECT_EQ(GetHorzSymmetryIndex(special("Bachelor")), 16);
}

TEST(SymmetryIndices, CentralIndex) {
  for (const TLatinSquare& s : sample_squares()) {
    const int csi = GetCentralSymmetryIndex(s);
    EXPECT_TRUE(csi >= 0 && csi <= 200 && csi % 2 == 0) << csi;
    EXPECT_EQ(GetCentralSymmetryIndex(apply_move(Transpose, s)), csi);
    EXPECT_EQ(GetCentralSymmetryIndex(relabelled_copy(s, [](int v) { return 9 - v; })), csi);
  }
  // (3i + j) mod 5 normalized by its diagonal (values 4i) is the complement of its half turn.
  EXPECT_EQ(GetCentralSymmetryIndex(linear_square(5, 3, 1)), 50);
}

TEST(SquareNumber, ReadsTheCellsInBaseOrderMinusOne) {
  TLatinSquare two(2);
  two[0][0] = 0, two[0][1] = 1, two[1][0] = 1, two[1][1] = 0;
  EXPECT_EQ(GetSquareNumber(two), 2.0);        // base 1: the sum of the cells
  const TLatinSquare three = linear_square(3, 1, 1);  // 012 120 201 in base 2
  EXPECT_EQ(GetSquareNumber(three), 329.0);
}

TEST(Intercalates, CountsLatinTwoByTwoSubsquares) {
  TLatinSquare two(2);
  two[0][0] = 0, two[0][1] = 1, two[1][0] = 1, two[1][1] = 0;
  EXPECT_EQ(GetIntercalatesCount(two), 1);
  EXPECT_EQ(GetIntercalatesCount(linear_square(4, 1, 1)), 4);
  TLatinSquare x(4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) x[i][j] = i ^ j;
  EXPECT_EQ(GetIntercalatesCount(x), 12);
  EXPECT_EQ(GetIntercalatesCount(linear_square(5, 1, 1)), 0);
  // Empty cells compare literally: an empty 2 x 2 block counts, and so does an empty order-3
  // square's every block.
  EXPECT_EQ(GetIntercalatesCount(TLatinSquare(2)), 1);
  EXPECT_EQ(GetIntercalatesCount(TLatinSquare(3)), 9);
}

}  // namespace
}  // namespace dlslab
