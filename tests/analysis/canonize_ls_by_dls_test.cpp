#include "analysis/canonize_ls_by_dls.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "cover/odls.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

void expect_same_entries(const TSquaresCollection& a, const TSquaresCollection& b,
                         const std::string& what) {
  ASSERT_EQ(a.Count(), b.Count()) << what;
  for (int i = 0; i < a.Count(); ++i) EXPECT_EQ(a.Items(i), b.Items(i)) << what << " " << i;
}

/// Both routes with verbose on; their results and diagnostics must agree.
void expect_routes_agree(const TLatinSquare& square, const std::string& what) {
  LsByDlsCanonizer canonizer;
  std::ostringstream fast_out;
  std::ostringstream literal_out;
  TSquaresCollection fast;
  TSquaresCollection literal;
  {
    const ScopedDiagStream to(&fast_out);
    fast = canonizer.CanonizeLsByDls(square, true, false);
  }
  {
    const ScopedDiagStream to(&literal_out);
    literal = canonizer.canonize_ls_by_dls_literal(square, true, false);
  }
  expect_same_entries(fast, literal, what);
  EXPECT_EQ(fast_out.str(), literal_out.str()) << what;
}

TEST(TransversalsPairUp, ExchangesColumnsInRowPairs) {
  const TTransversal a{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const TTransversal b{1, 0, 3, 2, 5, 4, 7, 6, 9, 8};
  EXPECT_TRUE(TransversalsPairUp(a, b));
  EXPECT_TRUE(TransversalsPairUp(b, a));
  EXPECT_TRUE(TransversalsPairUp(a, a));                   // pairs up, but shares every cell
  const TTransversal cycle{1, 2, 0, 3, 4, 5, 6, 7, 8, 9};  // a three-cycle is no pairing
  EXPECT_FALSE(TransversalsPairUp(a, cycle));
  const TTransversal c{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  EXPECT_TRUE(TransversalsPairUp(c, a));  // rows {k, 9 - k} swap columns
  EXPECT_EQ(InvertTransversal(c), c);
  EXPECT_EQ(InvertTransversal(cycle), (TTransversal{2, 0, 1, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(CanonizeLsByDls, FastRouteMatchesLiteralOnSpecialSquares) {
  // The two Brown squares are left to the benchmarks: their literal run takes minutes.
  for (const int special : {0, 1, 3, 5, 13, 15, 16, 18}) {
    const SpecialSquare& s = kSpecialSquares[special];
    expect_routes_agree(StringToSquare(s.digits), std::string(s.caption));
  }
}

TEST(CanonizeLsByDls, FastRouteMatchesLiteralOnRandomAndNonDiagonalSquares) {
  for (std::uint32_t seed = 1; seed <= 3; ++seed)
    expect_routes_agree(test::random_dls(seed), "seed " + std::to_string(seed));
  // A conjugate of a DLS is a Latin square that is seldom diagonal.
  const TLatinSquare conjugate = GetParastrof1(test::random_dls(4));
  ASSERT_FALSE(IsDiagonalLatin(conjugate));
  expect_routes_agree(conjugate, "conjugate");
}

TEST(CanonizeLsByDls, FormsAreCanonicalAndHaveMates) {
  LsByDlsCanonizer canonizer;
  const TSquaresCollection found =
      canonizer.CanonizeLsByDls(StringToSquare(kSpecialSquares[16].digits), false, true);
  ASSERT_GT(found.Count(), 0);
  CanonEngine canon;
  OdlsSearch search;
  for (int i = 0; i < found.Count(); ++i) {
    const TLatinSquare form = found.get_square(i);
    EXPECT_TRUE(IsDiagonalLatin(form));
    EXPECT_EQ(canon.GetCanonicalForm(form), form);
    EXPECT_GT(search.GetOdls(form).Count(), 0);
  }
}

TEST(CanonizeLsByDls, VerboseWalksConjugatesAndSlicesInOrder) {
  std::ostringstream out;
  TSquaresCollection found;
  {
    const ScopedDiagStream to(&out);
    found = LsByDlsCanonizer().CanonizeLsByDls(StringToSquare(test::kBachelor), true, true);
  }
  EXPECT_EQ(found.Count(), 0);
  std::string expected;
  for (const char* conjugate : {"1", "2", "5"}) {
    expected += std::string("  parastrof ") + conjugate + "...\n";
    for (const char* slice : {"1", "2", "3"})
      expected += std::string("    slice ") + slice + "...\n";
  }
  EXPECT_EQ(out.str(), expected);  // the bachelor square gives nothing

  std::ostringstream brown;
  TSquaresCollection skipped;
  {
    const ScopedDiagStream to(&brown);
    skipped =
        LsByDlsCanonizer().CanonizeLsByDls(StringToSquare(kSpecialSquares[10].digits), true, true);
  }
  EXPECT_EQ(skipped.Count(), 0);
  EXPECT_EQ(brown.str(), "Brown square was skipped\n");
}

TEST(CanonizeAllByDls, FastRouteMatchesLiteralAndStopsOnBigFamilies) {
  const TLatinSquare fish = StringToSquare(kSpecialSquares[16].digits);
  LsByDlsCanonizer canonizer;
  TSquaresCollection fast;
  fast.AddSquare(fish, true, true);
  std::ostringstream fast_out;
  {
    const ScopedDiagStream to(&fast_out);
    canonizer.CanonizeAllByDls(fast, true, true);
  }
  TSquaresCollection literal;
  literal.AddSquare(fish, true, true);
  std::ostringstream literal_out;
  {
    const ScopedDiagStream to(&literal_out);
    canonizer.canonize_all_by_dls_literal(literal, true, true);
  }
  expect_same_entries(fast, literal, "Fish");
  EXPECT_EQ(fast_out.str(), literal_out.str());
  EXPECT_EQ(fast.GetSquareString(0), kSpecialSquares[16].digits);
  EXPECT_EQ(fast_out.str().rfind("Square 0 from 1 canonizing...\n", 0), 0u);
  if (fast.Count() > 20)
    EXPECT_NE(fast_out.str().find("Canonization of the big family skipped...\n"),
              std::string::npos);
}

}  // namespace
}  // namespace dlslab
