#include "cmd/family_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/canonize_ls_by_dls.h"
#include "cmd/model_commands.h"
#include "cover/odls.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab::cmd {
namespace {

constexpr int kOnce = 1;
constexpr int kFish = 16;
constexpr int kOneToSix = 10;  // a Brown square

class FamilyCommandsTest : public ::testing::Test {
 protected:
  void load_special(int special) {
    LoadSpecialSquare(ctx, std::string(kSpecialSquares[special].digits));
  }
  const std::vector<std::string>& log_lines() const { return ctx.log.lines(); }

  Context ctx;
};

/// Checks the listing of "Get all ODLS family" against itself: numbered members, a symmetric
/// matrix with a zero diagonal, line sums that are the sorted degrees.
void expect_consistent_family_listing(const std::vector<std::string>& lines,
                                      const std::string& what) {
  int count = 0;
  while (count < static_cast<int>(lines.size()) && lines[count].rfind("DLS ", 0) == 0) {
    EXPECT_EQ(lines[count].substr(0, 6 + std::to_string(count).size()),
              "DLS " + std::to_string(count) + ": ")
        << what;
    ++count;
  }
  ASSERT_GE(count, 1) << what;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * count + 4)) << what;
  EXPECT_EQ(lines[count], "");
  EXPECT_EQ(lines[count + 1], "Adjacency matrix:");
  std::vector<int> sums;
  for (int i = 0; i < count; ++i) {
    const std::string& row = lines[count + 2 + i];
    ASSERT_EQ(row.size(), static_cast<std::size_t>(count)) << what;
    EXPECT_EQ(row[i], '0') << what;
    for (int j = 0; j < count; ++j) EXPECT_EQ(row[j], lines[count + 2 + j][i]) << what;
    sums.push_back(static_cast<int>(std::count(row.begin(), row.end(), '1')));
  }
  std::sort(sums.begin(), sums.end());
  std::string powers = "Vertexes powers:";
  for (const int sum : sums) powers += ' ' + std::to_string(sum);
  EXPECT_EQ(lines[2 * count + 2], "");
  EXPECT_EQ(lines[2 * count + 3], powers) << what;
}

TEST_F(FamilyCommandsTest, GetOdlsTypeLogsTheTypeName) {
  load_special(kFish);
  const TLatinSquare first = ctx.model.FirstSquare;
  GetOdlsTypeMenuItemClick(ctx);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"FISH (N)"});
  EXPECT_EQ(ctx.model.FirstSquare, first);
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.log.Clear();
  GetOdlsTypeMenuItemClick(ctx);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"BACHELOR (-)"});
}

TEST_F(FamilyCommandsTest, RefuseOtherOrdersAndIncorrectSquares) {
  const std::array commands = {&GetOdlsTypeMenuItemClick, &GetAllODLSFamilyMenuItemClick,
                               &GetAllODLSFamilyCFsOnlyMenuItemClick, &CanonizeLSbyDLSMenuItemClick,
                               &CanonizeLsDlsForallfamilyMenuItemClick};
  SetOrderMenuItemClick(ctx, 12);
  for (auto* command : commands) {
    ctx.log.Clear();
    command(ctx);
    EXPECT_EQ(log_lines(), std::vector<std::string>{"Not implemented for N<>10"});
  }
  SetOrderMenuItemClick(ctx, 10);

  load_special(kFish);
  TLatinSquare holed = ctx.model.FirstSquare;
  holed[4][7] = kEmpty;
  // A Latin square that is not diagonal: row r is 0..9 shifted by r.
  TLatinSquare cyclic(kOrder);
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) cyclic[r][c] = (r + c) % kOrder;
  // Complete, but rows repeat: every row 0..9.
  TLatinSquare repeated(kOrder);
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) repeated[r][c] = c;
  TLatinSquare out_of_range = StringToSquare(kSpecialSquares[kFish].digits);
  out_of_range[9][9] = 10;

  for (const TLatinSquare* square : {&holed, &repeated, &out_of_range, &cyclic}) {
    for (std::size_t k = 0; k < commands.size(); ++k) {
      const bool canonization = k >= 3;
      if (square == &cyclic && canonization) continue;  // accepted: it is a Latin square
      ctx.model.SetFirstSquare(*square);
      ctx.log.Clear();
      commands[k](ctx);
      EXPECT_EQ(log_lines(), std::vector<std::string>{"Square is incorrect"}) << k;
      EXPECT_EQ(ctx.model.FirstSquare, *square);
    }
  }
}

TEST_F(FamilyCommandsTest, FamilyOfAMatelessSquare) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  GetAllODLSFamilyMenuItemClick(ctx);
  EXPECT_EQ(log_lines(),
            (std::vector<std::string>{std::string("DLS 0: ") + test::kBachelor, "",
                                      "Adjacency matrix:", "0", "", "Vertexes powers: 0"}));
}

TEST_F(FamilyCommandsTest, FamilyOfTwoMutuallyOrthogonalSquares) {
  load_special(kOnce);
  GetAllODLSFamilyMenuItemClick(ctx);
  ASSERT_EQ(log_lines().size(), 8u);
  EXPECT_EQ(log_lines()[0], "DLS 0: " + std::string(kSpecialSquares[kOnce].digits));
  EXPECT_EQ(log_lines()[1].substr(0, 7), "DLS 1: ");
  EXPECT_EQ(log_lines()[4], "01");
  EXPECT_EQ(log_lines()[5], "10");
  EXPECT_EQ(log_lines()[7], "Vertexes powers: 1 1");
}

TEST_F(FamilyCommandsTest, FamilyStartsFromTheNormalizedSquare) {
  load_special(kFish);
  TLatinSquare relabelled = ctx.model.FirstSquare;
  for (int i = 0; i < relabelled.size(); ++i)
    relabelled.data()[i] = (relabelled.data()[i] + 3) % kOrder;
  ctx.model.SetFirstSquare(relabelled);
  GetAllODLSFamilyMenuItemClick(ctx);
  EXPECT_EQ(log_lines()[0], "DLS 0: " + std::string(kSpecialSquares[kFish].digits));
  EXPECT_EQ(ctx.model.FirstSquare, relabelled);
}

TEST(odls_family_lines, FastAndLiteralRoutesPrintTheSame) {
  for (const SpecialSquare& special : kSpecialSquares) {
    const TLatinSquare square = StringToSquare(special.digits);
    const std::vector<std::string> fast = odls_family_lines(square, Route::kFast);
    EXPECT_EQ(odls_family_lines(square, Route::kLiteral), fast) << special.caption;
    expect_consistent_family_listing(fast, std::string(special.caption));
    EXPECT_EQ(odls_family_forms_lines(square, Route::kLiteral),
              odls_family_forms_lines(square, Route::kFast))
        << special.caption;
  }
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    const TLatinSquare square = test::random_dls(seed);
    EXPECT_EQ(odls_family_lines(square, Route::kLiteral), odls_family_lines(square, Route::kFast));
  }
}

TEST_F(FamilyCommandsTest, UniqueFormsOfAFamily) {
  load_special(kOnce);
  GetAllODLSFamilyCFsOnlyMenuItemClick(ctx);
  ASSERT_GE(log_lines().size(), 2u);
  EXPECT_LE(log_lines().size(), 3u);
  EXPECT_EQ(log_lines()[0], "Unique CFs for combinatorial structure:");
  EXPECT_EQ(log_lines()[1].substr(0, 7), "DLS 0: ");
  EXPECT_EQ(log_lines()[1].size(), 107u);
}

TEST_F(FamilyCommandsTest, CommonTransversalsOfEqualSquaresAreAllDiagonalTransversals) {
  load_special(kFish);
  GetCommonTransversalsMenuItemClick(ctx);  // single view: nothing
  EXPECT_TRUE(log_lines().empty());

  RadioItemClick(ctx, 1);
  ctx.model.SecondSquare = ctx.model.FirstSquare;
  GetCommonTransversalsMenuItemClick(ctx);
  const TTransversalsTable all = GetDiagonalTransversalsByDlx(ctx.model.FirstSquare);
  ASSERT_EQ(log_lines().size(), static_cast<std::size_t>(all.Count()) + 1);
  EXPECT_EQ(log_lines()[0], "Common transversals count: " + std::to_string(all.Count()));
  for (int k = 0; k < all.Count(); ++k) {
    std::string line = "Transversal " + std::to_string(k + 1) + ":";
    for (const int column : all.Items[k]) line += ' ' + std::to_string(column);
    EXPECT_EQ(log_lines()[k + 1], line);
  }

  const TLatinSquare other = StringToSquare(kSpecialSquares[kOnce].digits);
  EXPECT_EQ(common_transversals_lines(ctx.model.FirstSquare, other, Route::kFast),
            common_transversals_lines(ctx.model.FirstSquare, other, Route::kLiteral));

  ctx.log.Clear();
  ctx.model.SecondSquare[0][0] = kEmpty;
  GetCommonTransversalsMenuItemClick(ctx);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"Square is incorrect"});
}

TEST_F(FamilyCommandsTest, CanonizeSkipsABrownSquareOnlyForOneSquare) {
  load_special(kOneToSix);
  CanonizeLSbyDLSMenuItemClick(ctx);
  EXPECT_TRUE(log_lines().empty());
  // The whole closure of this square is long work; its first round shows that the search
  // still runs on it.
  TSquaresCollection family;
  family.AddSquare(ctx.model.FirstSquare, true, true);
  LsByDlsCanonizer().CanonizeAllByDls(family, false, true);
  EXPECT_EQ(family.GetSquareString(0), kSpecialSquares[kOneToSix].digits);
  EXPECT_GT(family.Count(), 1);
}

TEST_F(FamilyCommandsTest, CanonizeOfASquareWithoutResultsPrintsTheStartOnly) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  CanonizeLSbyDLSMenuItemClick(ctx);
  EXPECT_TRUE(log_lines().empty());
  CanonizeLsDlsForallfamilyMenuItemClick(ctx);
  EXPECT_EQ(log_lines(), std::vector<std::string>{std::string("DLS1: ") + test::kBachelor});
}

TEST_F(FamilyCommandsTest, CanonizeListsNumberedForms) {
  load_special(kFish);
  CanonizeLSbyDLSMenuItemClick(ctx);
  ASSERT_FALSE(log_lines().empty());
  for (std::size_t i = 0; i < log_lines().size(); ++i) {
    const std::string prefix = "DLS" + std::to_string(i + 1) + ": ";
    EXPECT_EQ(log_lines()[i].substr(0, prefix.size()), prefix);
    EXPECT_EQ(log_lines()[i].size(), prefix.size() + 100);
  }
}

}  // namespace
}  // namespace dlslab::cmd
