#include "canon/canonical_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "canon/canon_baseline.h"
#include "canon/canon_test_squares.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

TEST(BuildGraySwaps, ThreeElements) {
  TGrayPermuts cache;
  BuildGraySwaps(cache, 3);
  ASSERT_EQ(cache.size(), 4u);
  EXPECT_EQ(cache[3], (TGrayPermutSwapItemsArr{{2, 3}, {1, 2}, {2, 3}, {1, 2}, {2, 3}}));
}

TEST(BuildGraySwaps, FiveElementsBeginAsExpected) {
  TGrayPermuts cache;
  BuildGraySwaps(cache, 5);
  ASSERT_EQ(cache[5].size(), 119u);
  const TGrayPermutSwapItemsArr head(cache[5].begin(), cache[5].begin() + 8);
  EXPECT_EQ(head, (TGrayPermutSwapItemsArr{
                      {4, 5}, {3, 4}, {2, 3}, {1, 2}, {4, 5}, {1, 2}, {2, 3}, {3, 4}}));
}

TEST(BuildGraySwaps, VisitsEveryArrangementOnce) {
  TGrayPermuts cache;
  for (int h = 1; h <= 5; ++h) {
    BuildGraySwaps(cache, h);
    std::vector<int> arrangement(h);
    std::iota(arrangement.begin(), arrangement.end(), 0);
    std::set<std::vector<int>> seen{arrangement};
    for (const TGrayPermutSwapItem& swap : cache[h]) {
      ASSERT_EQ(swap.second, swap.first + 1);
      ASSERT_GE(swap.first, 1);
      ASSERT_LE(swap.second, h);
      std::swap(arrangement[swap.first - 1], arrangement[swap.second - 1]);
      seen.insert(arrangement);
    }
    const int factorial = h == 1 ? 1 : h == 2 ? 2 : h == 3 ? 6 : h == 4 ? 24 : 120;
    EXPECT_EQ(static_cast<int>(cache[h].size()), factorial - 1) << h;
    EXPECT_EQ(static_cast<int>(seen.size()), factorial) << h;
  }
  EXPECT_EQ(cache.size(), 6u);
}

TEST(IsLexLess, DecidesAtFirstDifferingCell) {
  const TLatinSquare a = StringToSquare(test::kBachelor);
  TLatinSquare b = a;
  EXPECT_FALSE(IsLexLess(a, b));
  b[9][9] = 9;
  b[5][0] = 0;  // first difference: a holds 2 there
  EXPECT_TRUE(IsLexLess(b, a));
  EXPECT_FALSE(IsLexLess(a, b));
  b = a;
  b[3][3] = kEmpty;  // -1 is just the smallest value
  EXPECT_TRUE(IsLexLess(b, a));
}

class CanonicalFormTest : public test::CanonSquaresTest<12> {
 protected:
  static void SetUpTestSuite() {
    for (const TLatinSquare& s : squares()) ASSERT_TRUE(IsFilled(s) && IsDiagonalLatin(s));
  }
};

TEST_F(CanonicalFormTest, MatchesBruteForce) {
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare expected = canonical_form_brute_force(s);
    EXPECT_EQ(engine.GetCanonicalForm(s), expected) << SquareToString(s, false);
    EXPECT_EQ(engine.get_canonical_form_by_enumeration(s), expected);
  }
}

// Every instruction-set path against the brute force on the test squares (the embedded ones
// are full of ties), and against the scalar path on many random squares and their transposes,
// rotations and relabellings, which reach the least candidate from other grid maps.
TEST_F(CanonicalFormTest, EveryPathFindsTheSameForm) {
  CanonEngine scalar(IsaPath::kScalar);
  const std::vector<TLatinSquare> many = test::canon_test_squares(300);
  std::array<int, 10> perm{3, 7, 0, 9, 1, 5, 8, 2, 6, 4};
  for (const IsaPath path : supported_isa_paths()) {
    SCOPED_TRACE(isa_path_name(path));
    CanonEngine on_path(path);
    ASSERT_EQ(on_path.path(), path);
    for (const TLatinSquare& s : squares())
      EXPECT_EQ(on_path.GetCanonicalForm(s), canonical_form_brute_force(s))
          << SquareToString(s, false);
    for (const TLatinSquare& s : many) {
      const TLatinSquare cf = scalar.GetCanonicalForm(s);
      ASSERT_EQ(on_path.GetCanonicalForm(s), cf) << SquareToString(s, false);
      TLatinSquare t;
      Transpose(t, s);
      EXPECT_EQ(on_path.GetCanonicalForm(t), cf);
      RotateRight(t, s);
      EXPECT_EQ(on_path.GetCanonicalForm(test::relabelled_copy(t, perm)), cf);
      EXPECT_TRUE(on_path.IsCanonicalForm(cf));
    }
    // Latin squares that are not diagonal: the cyclic one, all of whose cells pair up
    // symmetrically, and random squares with their rows shuffled.
    TLatinSquare cyclic(kOrder);
    for (int i = 0; i < kOrder; ++i)
      for (int j = 0; j < kOrder; ++j) cyclic[i][j] = (i + j) % kOrder;
    EXPECT_EQ(on_path.GetCanonicalForm(cyclic), canonical_form_brute_force(cyclic));
    for (int k = 0; k < 4; ++k) {
      TLatinSquare shuffled = many[k];
      const std::array<int, 10> rows{4, 0, 7, 2, 9, 1, 5, 3, 8, 6};
      for (int i = 0; i < kOrder; ++i)
        for (int j = 0; j < kOrder; ++j) shuffled[i][j] = many[k][rows[(i + k) % kOrder]][j];
      EXPECT_EQ(on_path.GetCanonicalForm(shuffled), canonical_form_brute_force(shuffled));
    }
  }
  EXPECT_EQ(CanonEngine().path(), default_isa_path());
}

TEST_F(CanonicalFormTest, IsADlsWithAscendingFirstRowNotAboveNormalization) {
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare cf = engine.GetCanonicalForm(s);
    EXPECT_TRUE(IsFilled(cf));
    EXPECT_TRUE(IsDiagonalLatin(cf));
    for (int j = 0; j < kOrder; ++j) EXPECT_EQ(cf[0][j], j);
    TLatinSquare normalized = s;
    NormalizeByFirstRow(normalized);
    EXPECT_FALSE(IsLexLess(normalized, cf));
  }
}

TEST_F(CanonicalFormTest, SameForEveryEquivalentSquare) {
  std::uint32_t seed = 7;
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare cf = engine.GetCanonicalForm(s);
    TLatinSquare t;
    Transpose(t, s);
    EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    RotateDouble(t, s);
    EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    RotateRight(t, s);
    EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    Antitranspose(t, s);
    EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    for (int k = 0; k < kOrder / 2; ++k) {
      t = s;
      FlipPair(t, k);
      EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    }
    t = s;
    SwapPairs(t, 0, 3);
    SwapPairs(t, 1, 4);
    FlipPair(t, 2);
    EXPECT_EQ(engine.GetCanonicalForm(t), cf);
    std::array<int, 10> perm{};
    std::iota(perm.begin(), perm.end(), 0);
    RandSeed = seed++;
    for (int i = 9; i > 0; --i) std::swap(perm[i], perm[Random(i + 1)]);
    EXPECT_EQ(engine.GetCanonicalForm(test::relabelled_copy(s, perm)), cf);
  }
}

TEST_F(CanonicalFormTest, IsCanonicalFormOfCanonicalForm) {
  for (const TLatinSquare& s : squares()) {
    const TLatinSquare cf = engine.GetCanonicalForm(s);
    EXPECT_TRUE(engine.IsCanonicalForm(cf));
    EXPECT_TRUE(IsCanonicalForm(cf));
    TLatinSquare normalized = s;
    NormalizeByFirstRow(normalized);
    EXPECT_EQ(engine.IsCanonicalForm(normalized), normalized == cf);
  }
}

TEST_F(CanonicalFormTest, NotCanonicalUnlessFirstRowAscendingAndComplete) {
  const TLatinSquare cf = engine.GetCanonicalForm(squares().front());
  std::array<int, 10> swap01{1, 0, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_FALSE(engine.IsCanonicalForm(test::relabelled_copy(cf, swap01)));
  TLatinSquare partial = cf;
  partial[9][9] = kEmpty;
  EXPECT_FALSE(engine.IsCanonicalForm(partial));
  TLatinSquare order9(9);
  EXPECT_FALSE(engine.IsCanonicalForm(order9));
  EXPECT_EQ(engine.GetCanonicalForm(order9), order9);
}

// A complete square that is not Latin has first rows with repeated values; such candidates
// relabel by a fresh map (missing values become 0) and the result does not depend on the
// order the candidates come in.
TEST_F(CanonicalFormTest, NonLatinSquareMatchesBruteForce) {
  TLatinSquare s = squares().front();
  s[0][3] = s[0][4];
  s[6][2] = s[6][7];
  const TLatinSquare expected = canonical_form_brute_force(s);
  EXPECT_EQ(engine.GetCanonicalForm(s), expected);
  EXPECT_EQ(engine.get_canonical_form_by_enumeration(s), expected);
  CanonEngine other;
  EXPECT_EQ(other.get_canonical_form_by_enumeration(s), expected);
}

// Empty cells are carried along as empty and compare below every value; the result still
// does not depend on the walk.
TEST_F(CanonicalFormTest, PartialSquareKeepsItsEmptyCells) {
  TLatinSquare s = squares()[1];
  s[0][2] = kEmpty;
  s[3][3] = kEmpty;
  s[8][1] = kEmpty;
  const TLatinSquare expected = canonical_form_brute_force(s);
  EXPECT_EQ(engine.GetCanonicalForm(s), expected);
  EXPECT_EQ(engine.get_canonical_form_by_enumeration(s), expected);
  // Empty is the least value, so the least candidate opens row 1 with an empty cell under a
  // complete first line, and all three empty cells survive.
  EXPECT_EQ(expected[1][0], kEmpty);
  EXPECT_EQ(GetEmptyCellsCount(expected), 3);
  EXPECT_FALSE(engine.IsCanonicalForm(expected));
}

TEST_F(CanonicalFormTest, OneEngineServesManySquaresInAnyOrder) {
  std::vector<TLatinSquare> first;
  for (const TLatinSquare& s : squares()) first.push_back(engine.GetCanonicalForm(s));
  CanonEngine fresh;
  for (std::size_t i = squares().size(); i-- > 0;)
    EXPECT_EQ(fresh.GetCanonicalForm(squares()[i]), first[i]);
}

}  // namespace
}  // namespace dlslab
