#include "analysis/family_operations.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/orthogonality.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

TSquaresCollection starting_with(std::string_view digits) {
  TSquaresCollection collection;
  collection.AddSquareString(digits, true, true);
  return collection;
}

void expect_same_family(const TSquaresCollection& a, const TSquaresCollection& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) EXPECT_EQ(a.Items(i), b.Items(i)) << i;
  EXPECT_EQ(a.Degrees(), b.Degrees());
}

TEST(BuildOdlsFamily, MatelessSquareStaysAloneWithDegreeZero) {
  OdlsSearch search;
  for (const bool fast : {false, true}) {
    TSquaresCollection family = starting_with(test::kBachelor);
    if (fast)
      build_odls_family_fast(family, false, true, search);
    else
      BuildOdlsFamily(family, false, true, search);
    ASSERT_EQ(family.Count(), 1);
    EXPECT_EQ(family.Degrees(), TDegreesArr{0});
    EXPECT_EQ(GetDegree(family, 0), 0);
    EXPECT_EQ(GetDegree(family, 1), -1);
    EXPECT_EQ(GetDegree(family, -1), -1);
  }
}

TEST(BuildOdlsFamily, ClosesUnderMatesWithConsistentDegrees) {
  OdlsSearch search;
  for (const SpecialSquare& special : kSpecialSquares) {
    TSquaresCollection literal = starting_with(special.digits);
    BuildOdlsFamily(literal, false, true, search);
    TSquaresCollection fast = starting_with(special.digits);
    build_odls_family_fast(fast, false, true, search);
    expect_same_family(literal, fast);

    // Closed: every mate of every member is a member; degrees count the mates.
    for (int i = 0; i < literal.Count(); ++i) {
      const TOrthogonalSquares mates = search.GetOdls(literal.get_square(i));
      EXPECT_EQ(literal.Degrees()[i], mates.Count()) << special.caption;
      for (const TLatinSquare& mate : mates.Squares)
        EXPECT_GE(literal.IndexOfSquare(mate), 0) << special.caption;
    }
    EXPECT_EQ(GetDegree(literal, literal.Count()), -1);
  }
}

TEST(BuildOdlsFamily, WithoutDegreesLeavesThemEmpty) {
  OdlsSearch search;
  TSquaresCollection family = starting_with(kSpecialSquares[1].digits);  // "Once"
  family.Degrees() = {7, 7};
  build_odls_family_fast(family, false, false, search);
  EXPECT_EQ(family.Count(), 2);
  EXPECT_TRUE(family.Degrees().empty());
}

TEST(BuildOdlsFamily, DegreesOfAnUnnormalizedStartFollowTheDefects) {
  // The starting entry keeps its own labels, so mate counts are no longer the degrees of
  // the fast route's shortcut; both routes must still agree with the defects.
  OdlsSearch search;
  TLatinSquare once = StringToSquare(kSpecialSquares[1].digits);
  TLatinSquare moved(kOrder);
  Transpose(moved, once);
  for (auto build : {&BuildOdlsFamily, &build_odls_family_fast}) {
    TSquaresCollection family;
    family.AddSquare(once, true, true);
    family.AddSquare(moved, true, false);
    build(family, false, true, search);
    for (int i = 0; i < family.Count(); ++i) {
      int degree = 0;
      for (int j = 0; j < family.Count(); ++j)
        degree += j != i && OrthogonalityDefect(family.get_square(i), family.get_square(j)) == 0;
      EXPECT_EQ(family.Degrees()[i], degree) << i;
    }
  }
}

TEST(BuildOdlsFamily, VerboseWritesTheProgressLines) {
  std::ostringstream out;
  OdlsSearch search;
  TSquaresCollection family = starting_with(kSpecialSquares[2].digits);  // "Symmetric Line-3"
  {
    const ScopedDiagStream to(&out);
    build_odls_family_fast(family, true, true, search);
  }
  EXPECT_EQ(
      out.str(),
      "Square 0 from 1 analysing...\nDegrees calculating...\n  0 from 3 degrees calculated\n");
}

TEST(SortDegrees, SortsAscendingInPlace) {
  TSquaresCollection collection;
  collection.Degrees() = {3, 1, 2, 1};
  SortDegrees(collection);
  EXPECT_EQ(collection.Degrees(), (TDegreesArr{1, 1, 2, 3}));
}

}  // namespace
}  // namespace dlslab
