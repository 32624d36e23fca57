#include "analysis/isomorphism_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "canon/canon_test_squares.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

class IsomorphismClassTest : public test::CanonSquaresTest<12> {};

/// The number of candidates that gave the entries of the class.
int candidates_of(const TSquaresCollection& iso) {
  int total = 0;
  for (int i = 0; i < iso.Count(); ++i) total += iso.Counts(i);
  return total;
}

// A partial square has a class too, and every candidate still counts once.
TEST_F(IsomorphismClassTest, PartialSquareCountsEveryCandidate) {
  TLatinSquare s = squares()[1];
  s[0][2] = kEmpty;
  s[3][3] = kEmpty;
  s[8][1] = kEmpty;
  const TSquaresCollection iso = GetIsomorphismClass(engine, s);
  EXPECT_EQ(candidates_of(iso), 15360);
}

TEST_F(IsomorphismClassTest, IsomorphismClassCountsEveryCandidateOnce) {
  for (std::size_t k = 0; k < squares().size(); k += 4) {
    const TLatinSquare& s = squares()[k];
    const TSquaresCollection iso = GetIsomorphismClass(engine, s);
    ASSERT_GE(iso.Count(), 1);
    ASSERT_LE(iso.Count(), 15360);
    EXPECT_EQ(candidates_of(iso), 15360);
    // Every entry is a distinct square with the same canonical form, the least of them all.
    const TLatinSquare cf = engine.GetCanonicalForm(s);
    std::set<std::string> distinct;
    TLatinSquare least = iso.get_square(0);
    for (int i = 0; i < iso.Count(); ++i) {
      const TLatinSquare entry = iso.get_square(i);
      distinct.insert(iso.GetSquareString(i));
      ASSERT_EQ(engine.GetCanonicalForm(entry), cf);
      if (IsLexLess(entry, least)) least = entry;
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), iso.Count());
    EXPECT_EQ(least, cf);
  }
}

TEST_F(IsomorphismClassTest, IsomorphismClassKeepsTheWalkOrder) {
  const TLatinSquare& s = squares().front();
  const TSquaresCollection iso = GetIsomorphismClass(s);
  // The walk starts with the square itself, then its transpose, then their left-right flips.
  TLatinSquare expected[3] = {s, TLatinSquare(), TLatinSquare()};
  Transpose(expected[1], s);
  FlipHorizontal(expected[2], s);
  for (int i = 0; i < 3; ++i) {
    NormalizeByFirstRow(expected[i]);
    EXPECT_EQ(iso.get_square(i), expected[i]) << i;
  }
}

TEST_F(IsomorphismClassTest, IsomorphismClassOfSymmetricSquareIsSmaller) {
  // An embedded square with many symmetries has fewer distinct equivalents; the counts
  // still add up to the number of candidates.
  int smallest = 15360;
  for (const SpecialSquare& special : kSpecialSquares) {
    const TSquaresCollection iso = GetIsomorphismClass(engine, StringToSquare(special.digits));
    EXPECT_EQ(candidates_of(iso), 15360);
    EXPECT_EQ(15360 % iso.Count(), 0);  // every square has the same number of preimages
    smallest = std::min(smallest, iso.Count());
  }
  EXPECT_LT(smallest, 15360);
  EXPECT_EQ(GetIsomorphismClass(engine, TLatinSquare(9)).Count(), 0);
}

}  // namespace
}  // namespace dlslab
