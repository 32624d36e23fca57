#include "analysis/odls_type.h"

#include <gtest/gtest.h>

#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

TEST(GetOdlsType, NamesEachSpecialSquareAfterItsCaption) {
  OdlsTypeEngine engine;
  for (const SpecialSquare& special : kSpecialSquares) {
    const TLatinSquare square = StringToSquare(special.digits);
    const int code = engine.GetOdlsType(square);
    EXPECT_EQ(engine.get_odls_type_literal(square), code) << special.caption;
    if (!special.type_name.empty())
      EXPECT_EQ(SpecialTypeNames[code], special.type_name) << special.caption;
  }
}

TEST(GetOdlsType, FastMatchesLiteralOnRandomSquaresAndTheirConjugates) {
  OdlsTypeEngine engine;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    TLatinSquare square = test::random_dls(seed);
    // A relabelled, transposed copy has the same family structure.
    TLatinSquare transposed(kOrder);
    Transpose(transposed, square);
    const int code = engine.GetOdlsType(square);
    EXPECT_EQ(engine.get_odls_type_literal(square), code) << seed;
    EXPECT_EQ(engine.GetOdlsType(transposed), code) << seed;
  }
}

TEST(GetOdlsType, TypeDoesNotDependOnWhichMemberStarts) {
  // Every member of a family has the family's type.
  OdlsTypeEngine engine;
  OdlsSearch search;
  const TLatinSquare fish = StringToSquare(kSpecialSquares[16].digits);
  const TOrthogonalSquares mates = search.GetOdls(fish);
  ASSERT_GT(mates.Count(), 0);
  for (const TLatinSquare& mate : mates.Squares)
    EXPECT_EQ(SpecialTypeNames[engine.GetOdlsType(mate)], "FISH (N)");
}

TEST(GetOdlsTypeCode, LooksSignaturesUpInTableOrder) {
  EXPECT_EQ(get_odls_type_code({0}), 0);
  EXPECT_EQ(get_odls_type_code({1, 1}), 1);
  EXPECT_EQ(get_odls_type_code({1, 1, 1, 1, 4, 4}), 13);
  EXPECT_EQ(get_odls_type_code({2, 2, 2, 2, 4, 4}), 13);
  EXPECT_EQ(get_odls_type_code({3, 3, 3, 3}), 17);
  EXPECT_EQ(get_odls_type_code({1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 10}), 45);  // 'A' is 10
  EXPECT_EQ(get_odls_type_code({1, 1, 1, 1, 1, 5}), 8);
  EXPECT_EQ(get_odls_type_code({}), kUnknownOdlsType);
  EXPECT_EQ(get_odls_type_code({1, 1, 2, 2, 2, 2}), kUnknownOdlsType);
  EXPECT_EQ(get_odls_type_code({2, 1, 1}), kUnknownOdlsType);  // the list must be sorted
}

TEST(GetOdlsType, OtherOrdersAreUnknown) {
  TLatinSquare square(12);
  EXPECT_EQ(OdlsTypeEngine().GetOdlsType(square), kUnknownOdlsType);
  EXPECT_EQ(OdlsTypeEngine().get_odls_type_literal(square), kUnknownOdlsType);
}

TEST(GetCommonTransversals, KeepsTheFirstListsOrderAndIsNeverLonger) {
  const TLatinSquare a = StringToSquare(kSpecialSquares[13].digits);
  const TLatinSquare b = StringToSquare(kSpecialSquares[16].digits);
  const TTransversalsTable ta = GetDiagonalTransversalsByDlx(a);
  const TTransversalsTable tb = GetDiagonalTransversalsByDlx(b);
  ASSERT_GT(ta.Count(), 0);

  const TTransversalsTable same = GetCommonTransversals(ta, ta);
  ASSERT_EQ(same.Count(), ta.Count());
  for (int i = 0; i < ta.Count(); ++i) EXPECT_EQ(same.Items[i], ta.Items[i]);

  const TTransversalsTable common = GetCommonTransversals(ta, tb);
  EXPECT_LE(common.Count(), std::min(ta.Count(), tb.Count()));
  for (int i = 0; i < common.Count(); ++i) {
    bool in_b = false;
    for (const TTransversal& t : tb.Items) in_b = in_b || t == common.Items[i];
    EXPECT_TRUE(in_b);
  }
  const TTransversalsTable fast = get_common_transversals_fast(ta, tb);
  EXPECT_EQ(fast.Count(), common.Count());
  EXPECT_EQ(fast.Items, common.Items);
  EXPECT_EQ(get_common_transversals_fast(ta, ta).Items, same.Items);
  EXPECT_EQ(GetCommonTransversals(ta, TTransversalsTable{}).Count(), 0);
}

TEST(GetCommonTransversals, ListsAnItemOncePerMatch) {
  TTransversalsTable a;
  a.Items = {TTransversal{0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
             TTransversal{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}};
  TTransversalsTable b;
  b.Items = {a.Items[1], a.Items[1], TTransversal{1, 0, 2, 3, 4, 5, 6, 7, 8, 9}};
  const TTransversalsTable common = GetCommonTransversals(a, b);
  ASSERT_EQ(common.Count(), 2);
  EXPECT_EQ(common.Items[0], a.Items[1]);
  EXPECT_EQ(get_common_transversals_fast(a, b).Items, common.Items);
}

}  // namespace
}  // namespace dlslab
