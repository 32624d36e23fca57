#include "cover/odls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "cover_test_squares.h"
#include "model/ls_data_structs.h"
#include "model/orthogonality.h"
#include "model/square_catalogue.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

std::set<std::string> normalized_mates(const TOrthogonalSquares& mates) {
  std::set<std::string> result;
  for (TLatinSquare mate : mates.Squares) {
    NormalizeByFirstRow(mate);
    result.insert(SquareToString(mate, false));
  }
  return result;
}

/// The list index of the transversal each value of mate occupies.
std::array<int, kOrder> chosen_indices(const TLatinSquare& mate, const TTransversalsTable& table) {
  std::array<int, kOrder> chosen{};
  chosen.fill(-1);
  for (int v = 0; v < kOrder; ++v) {
    TTransversal t{};
    for (int r = 0; r < kOrder; ++r)
      for (int c = 0; c < kOrder; ++c)
        if (mate[r][c] == v) t[r] = c;
    for (int i = 0; i < table.Count(); ++i)
      if (table.Items[i] == t) chosen[v] = i;
  }
  return chosen;
}

TEST(GetOdls, SameMatesOnEveryPath) {
  OdlsSearch reference(IsaPath::kScalar);
  for (const IsaPath path : supported_isa_paths()) {
    SCOPED_TRACE(isa_path_name(path));
    OdlsSearch search(path);
    for (const TLatinSquare& square : test::cover_test_squares(20)) {
      EXPECT_EQ(search.GetOdls(square).Squares, reference.GetOdls(square).Squares);
    }
  }
}

TEST(GetOdls, AgreesWithTheExactCoverRoute) {
  OdlsSearch fast, dlx;
  int squares_with_mates = 0;
  for (const TLatinSquare& square : test::cover_test_squares(20)) {
    const TOrthogonalSquares by_lists = fast.GetOdls(square);
    const TOrthogonalSquares by_covers = dlx.GetOdlsByDlx(square);
    ASSERT_EQ(by_lists.Count(), by_covers.Count()) << SquareToString(square, false);
    EXPECT_EQ(normalized_mates(by_lists), normalized_mates(by_covers));
    squares_with_mates += by_lists.Count() > 0;
    for (const TOrthogonalSquares* mates : {&by_lists, &by_covers})
      for (const TLatinSquare& mate : mates->Squares) {
        EXPECT_TRUE(IsFilled(mate) && IsDiagonalLatin(mate));
        EXPECT_EQ(OrthogonalityDefect(square, mate), 0);
      }
  }
  EXPECT_EQ(squares_with_mates, 19);  // every embedded square but Bachelor
}

TEST(GetOdls, GivesNormalizedMatesInTheOrderOfTheirTransversals) {
  const TLatinSquare square = StringToSquare(kSpecialSquares[13].digits);  // ten mates
  OdlsSearch search;
  const TOrthogonalSquares mates = search.GetOdls(square);
  ASSERT_EQ(mates.Count(), 10);
  TransversalSearch transversals;
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  transversals.GetTransversalsFast(square, true, starts, counts, table);
  std::array<int, kOrder> previous{};
  previous.fill(-1);
  for (const TLatinSquare& mate : mates.Squares) {
    for (int c = 0; c < kOrder; ++c) EXPECT_EQ(mate[0][c], c);
    const std::array<int, kOrder> chosen = chosen_indices(mate, table);
    EXPECT_LT(previous, chosen);
    previous = chosen;
  }
}

TEST(GetOdls, OneSearchServesManySquares) {
  OdlsSearch search;
  EXPECT_EQ(search.GetOdls(StringToSquare(kSpecialSquares[13].digits)).Count(), 10);
  EXPECT_EQ(search.GetOdls(StringToSquare(kSpecialSquares[1].digits)).Count(), 1);  // "Once"
  EXPECT_EQ(search.GetOdls(StringToSquare(kSpecialSquares[0].digits)).Count(), 0);  // Bachelor
  EXPECT_EQ(search.GetOdlsByDlx(StringToSquare(kSpecialSquares[13].digits)).Count(), 10);
  EXPECT_EQ(search.GetOdlsByDlx(StringToSquare(kSpecialSquares[0].digits)).Count(), 0);
}

TEST(GetDiagonalTransversalsByDlx, FindsTheSameSetAsTheEnumeration) {
  for (const TLatinSquare& square : test::cover_test_squares(5)) {
    TTransversalsTable by_dlx = GetDiagonalTransversalsByDlx(square);
    TTransversalsArr listed = GetTransversals(square, true).Transversals;
    EXPECT_EQ(by_dlx.Count(), static_cast<int>(listed.size()));
    std::sort(by_dlx.Items.begin(), by_dlx.Items.end());
    EXPECT_TRUE(by_dlx.Items == listed);
  }
}

TEST(GetOdlsByDlx, FollowsTheDancingLinksOrder) {
  // The searches use the bitset solver; the dancing links on the same matrices must give the
  // same covers in the same order, hence the same transversal list and mates.
  const std::vector<TLatinSquare> squares = test::cover_test_squares(3);
  for (const int k : {0, 1, 7, 13, 19, 20, 21, 22}) {
    const TLatinSquare& square = squares[k];
    const TTransversalsTable table =
        CoversToTransversals(DlxSolve(BuildTransversalCoverMatrix(square)));
    OdlsSearch search;
    EXPECT_TRUE(search.GetDiagonalTransversalsByDlx(square).Items == table.Items);
    const TOrthogonalSquares mates = search.GetOdlsByDlx(square);
    const TDlxCoversArr covers =
        table.Count() < 10 ? TDlxCoversArr{} : DlxSolve(BuildMateCoverMatrix(table));
    ASSERT_EQ(mates.Count(), static_cast<int>(covers.size()));
    for (std::size_t i = 0; i < covers.size(); ++i) {
      TLatinSquare mate(kOrder);
      CoverToMateSquare(covers[i], table, mate);
      EXPECT_EQ(mates.Squares[i], mate);
    }
  }
}

TEST(CoverToMateSquare, StaysInsideTheSquareWhateverItIsGiven) {
  TTransversalsTable table;
  table.Items = {TTransversal{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, TTransversal{-5, 1, 2, 3, 40}};
  TLatinSquare square(kOrder);
  CoverToMateSquare({1, 0, 6, -2}, table, square);
  EXPECT_EQ(square[0][0], 1);
  EXPECT_EQ(square[1][1], 1);
  EXPECT_EQ(square[0][1], kEmpty);
  TLatinSquare small(3);
  CoverToMateSquare({0}, table, small);
  EXPECT_EQ(small, TLatinSquare(3));

  EXPECT_EQ(FindMates(TTransversalStarts{0, 1, 2, 9, 9, 9, 9, 9, 9, 9, 9}, table).Count(), 0);
}

/// table with a copy of the first transversal of every group put after it, column `column`
/// in row `row`; starts follow.
TTransversalsTable with_bad_copies(const TTransversalStarts& starts,
                                   const TTransversalsTable& table, int row, int column,
                                   TTransversalStarts& bad_starts) {
  TTransversalsTable out;
  bad_starts[0] = starts[0];
  for (int d = 0; d < kOrder; ++d) {
    for (int x = starts[d]; x < starts[d + 1]; ++x) {
      out.Items.push_back(table.Items[x]);
      if (x > starts[d]) continue;
      TTransversal bad = table.Items[x];
      bad[row] = column;
      out.Items.push_back(bad);
    }
    bad_starts[d + 1] = static_cast<int>(out.Items.size());
  }
  return out;
}

TEST(FindMates, SkipsTransversalsWithColumnsOutsideTheSquare) {
  const TLatinSquare square = StringToSquare(kSpecialSquares[13].digits);  // ten mates
  TransversalSearch transversals;
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  TTransversalsTable table;
  transversals.GetTransversalsFast(square, true, starts, counts, table);
  OdlsSearch search;
  const TOrthogonalSquares expected = search.FindMates(starts, table);
  ASSERT_EQ(expected.Count(), 10);
  // 10..15 and the rest are told apart by different means.
  for (const int column : {10, 15, 16, -1, 1000}) {
    for (const int row : {0, 5, 6, 9}) {
      SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
      TTransversalStarts bad_starts{};
      const TTransversalsTable bad = with_bad_copies(starts, table, row, column, bad_starts);
      EXPECT_EQ(search.FindMates(bad_starts, bad).Squares, expected.Squares);
    }
  }
}

TEST(GetOrthogonalityCharacteristic, BestPairFirstReached) {
  const TLatinSquare square = StringToSquare(kSpecialSquares[0].digits);
  TOrthogonalSquares mates;
  const OrthogonalityCharacteristic none = GetOrthogonalityCharacteristic(mates);
  EXPECT_EQ(none.value, 0);
  EXPECT_EQ(none.i, -1);
  EXPECT_EQ(none.j, -1);

  OdlsSearch search;
  const TLatinSquare once = StringToSquare(kSpecialSquares[1].digits);  // "Once" and its mate
  mates.Squares = {square, once, square, search.GetOdls(once).Squares.at(0)};
  const OrthogonalityCharacteristic best = GetOrthogonalityCharacteristic(mates);
  EXPECT_EQ(best.value, 100);
  EXPECT_EQ(best.i, 2);
  EXPECT_EQ(best.j, 4);
  mates.Squares.pop_back();
  EXPECT_LT(GetOrthogonalityCharacteristic(mates).value, 100);
}

}  // namespace
}  // namespace dlslab
