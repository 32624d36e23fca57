#include "fill/brown_dls.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cover/odls.h"
#include "model/ls_data_structs.h"

namespace dlslab {
namespace {

TEST(BrownDlsSquare, IsADlsWithBothSymmetries) {
  for (std::uint64_t seed = 0; seed < 300; ++seed) {
    const TLatinSquare sq = brown_dls_square(seed * 0x9E3779B97F4A7C15ull);
    ASSERT_EQ(GetEmptyCellsCount(sq), 0) << "seed " << seed;
    ASSERT_TRUE(IsDiagonalLatin(sq)) << "seed " << seed;
    for (int i = 0; i < 10; ++i) {
      for (int j = 0; j < 10; ++j) {
        ASSERT_EQ(sq[i][9 - j], 9 - sq[i][j]) << "seed " << seed;
        ASSERT_EQ(sq[kBrownRowPair[i]][j], 9 - sq[i][j]) << "seed " << seed;
      }
    }
  }
}

TEST(BrownDlsSquare, ASeedNamesOneSquareAndSeedsDiffer) {
  // Fixed squares: a change of the draws or the visiting order changes what a seed names.
  EXPECT_EQ(SquareToString(brown_dls_square(0), false), SquareToString(brown_dls_square(0), false));
  std::set<std::string> distinct;
  for (std::uint64_t seed = 0; seed < 200; ++seed)
    distinct.insert(SquareToString(brown_dls_square(seed), false));
  EXPECT_GT(distinct.size(), 190u);
}

TEST(BrownDlsSquare, FindsSquaresWithMatesOften) {
  // About one square in a hundred has a mate; random DLS almost never do.
  OdlsSearch search;
  int hits = 0;
  for (std::uint64_t seed = 0; seed < 400; ++seed) {
    const TOrthogonalSquares mates = search.GetOdls(brown_dls_square(seed));
    if (mates.Count() > 0) ++hits;
  }
  EXPECT_GE(hits, 1);
}

}  // namespace
}  // namespace dlslab
