#include "cover/transversals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cover_test_squares.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"

namespace dlslab {
namespace {

struct FastResult {
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
};

FastResult fast_lists(TransversalSearch& search, const TLatinSquare& square, bool diagonal_only) {
  FastResult result;
  search.GetTransversalsFast(square, diagonal_only, result.starts, result.counts, result.table);
  return result;
}

void expect_same_lists(TransversalSearch& search, const TLatinSquare& square) {
  for (const bool diagonal_only : {false, true}) {
    const TransversalsResult plain = GetTransversals(square, diagonal_only);
    const FastResult fast = fast_lists(search, square, diagonal_only);
    EXPECT_EQ(fast.table.Count(), static_cast<int>(plain.Transversals.size()));
    EXPECT_TRUE(fast.table.Items == plain.Transversals) << SquareToString(square, false);
    EXPECT_EQ(fast.starts, plain.Starts);
    EXPECT_EQ(fast.counts, plain.Counts);
  }
}

void expect_same_lists_on_broken_squares(TransversalSearch& search) {
  TLatinSquare square = StringToSquare(kSpecialSquares[7].digits);
  square[3][4] = kEmpty;
  square[6][1] = 12;
  square[8][8] = square[8][9];  // a row holding a value twice
  expect_same_lists(search, square);
  expect_same_lists(search, TLatinSquare(kOrder));
  expect_same_lists(search, test::cyclic_square());

  TLatinSquare small(8);  // no 10 x 10 block: no transversal
  for (int i = 0; i < small.size(); ++i) small.data()[i] = i % 8;
  EXPECT_EQ(fast_lists(search, small, false).table.Count(), 0);
  EXPECT_TRUE(GetTransversals(small, false).Transversals.empty());
}

/// One search per instruction-set path this processor has.
std::vector<TransversalSearch> searches_on_every_path() {
  std::vector<TransversalSearch> searches;
  for (const IsaPath path : supported_isa_paths()) searches.emplace_back(path);
  return searches;
}

TEST(GetTransversalsFast, MatchesGetTransversalsOnDlsOnEveryPath) {
  for (TransversalSearch& search : searches_on_every_path()) {
    SCOPED_TRACE(isa_path_name(search.path()));
    // Reused: nothing may leak from one square to the next.
    for (const TLatinSquare& square : test::cover_test_squares(30))
      expect_same_lists(search, square);
  }
}

TEST(GetTransversalsFast, MatchesGetTransversalsOnBrokenSquaresOnEveryPath) {
  for (TransversalSearch& search : searches_on_every_path()) {
    SCOPED_TRACE(isa_path_name(search.path()));
    expect_same_lists_on_broken_squares(search);
  }
}

TEST(GetTransversalsFast, GrowsPastTenThousandOnEveryPath) {
  // Every cell holds its column, so any permutation is a transversal; rows 0 and 1 only
  // allow their own column, which leaves 8! of them.
  TLatinSquare square(kOrder);
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) square[r][c] = r < 2 && c != r ? kOrder : c;
  const TTransversalsArr plain = GetTransversals(square, false).Transversals;
  for (TransversalSearch& search : searches_on_every_path()) {
    SCOPED_TRACE(isa_path_name(search.path()));
    const FastResult fast = fast_lists(search, square, false);
    EXPECT_EQ(fast.table.Count(), 40320);
    EXPECT_TRUE(fast.table.Items == plain);
  }
}

TEST(GetTransversals, ListsValidTransversalsInLexicographicOrder) {
  const TLatinSquare square = StringToSquare(kSpecialSquares[7].digits);
  const TransversalsResult all = GetTransversals(square, false);
  // An order-10 Latin square has at most 5504 transversals; this one reaches it.
  EXPECT_EQ(all.Starts[kOrder], 5504);
  EXPECT_TRUE(std::is_sorted(all.Transversals.begin(), all.Transversals.end()));
  EXPECT_TRUE(std::adjacent_find(all.Transversals.begin(), all.Transversals.end()) ==
              all.Transversals.end());
  TTransversalsArr diagonal;
  for (const TTransversal& t : all.Transversals) {
    unsigned columns = 0, values = 0;
    int main = 0, anti = 0;
    for (int r = 0; r < kOrder; ++r) {
      columns |= 1u << t[r];
      values |= 1u << square[r][t[r]];
      main += t[r] == r;
      anti += r + t[r] == kOrder - 1;
    }
    EXPECT_EQ(columns, 1023u);
    EXPECT_EQ(values, 1023u);
    if (main == 1 && anti == 1) diagonal.push_back(t);
  }
  const TransversalsResult diagonal_only = GetTransversals(square, true);
  EXPECT_TRUE(diagonal_only.Transversals == diagonal);
  for (int k = 0; k < kOrder; ++k)
    for (int i = diagonal_only.Starts[k]; i < diagonal_only.Starts[k + 1]; ++i)
      EXPECT_EQ(diagonal_only.Transversals[i][0], k);
}

TEST(GetTransversalsCoverageMap, CountsTransversalsThroughEachCell) {
  TransversalSearch search;
  for (const TLatinSquare& square : test::cover_test_squares(5)) {
    const FastResult fast = fast_lists(search, square, true);
    const TLatinSquare map = GetTransversalsCoverageMap(fast.table);
    int sum = 0;
    for (int i = 0; i < map.size(); ++i) sum += map.data()[i];
    EXPECT_EQ(sum, 10 * fast.table.Count());
    for (int k = 0; k < kOrder; ++k) EXPECT_EQ(map[0][k], fast.counts[k]);
  }
}

TEST(TransversalsIntersect, SharesACellOnlyWhereAnEntryIsAColumn) {
  const TTransversal a{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  TTransversal b{1, 0, 3, 2, 5, 4, 7, 6, 9, 8};
  EXPECT_FALSE(TransversalsIntersect(a, b));
  b[9] = 9;
  EXPECT_TRUE(TransversalsIntersect(a, b));
  TTransversal c = a, d = a;
  c.fill(-1);
  d.fill(-1);
  EXPECT_FALSE(TransversalsIntersect(c, d));
  EXPECT_TRUE(TransversalsEqual(c, d));
  EXPECT_FALSE(TransversalsEqual(a, b));
}

}  // namespace
}  // namespace dlslab
