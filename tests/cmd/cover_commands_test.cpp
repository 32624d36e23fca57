#include "cmd/cover_commands.h"

#include <gtest/gtest.h>

#include "cmd/generalized_symmetry_commands.h"
#include "cmd/model_commands.h"
#include "cover/transversals.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

class CoverCommandsTest : public ::testing::Test {
 protected:
  void load_special(int special) {
    LoadSpecialSquare(ctx, std::string(kSpecialSquares[special].digits));
  }
  std::string log_line(std::size_t i) const { return ctx.log.lines().at(i); }

  Context ctx;
};

TEST_F(CoverCommandsTest, GetOdlsWithoutMatesKeepsTheView) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  const TLatinSquare second = ctx.model.SecondSquare;
  GetOdlsMenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 2u);
  EXPECT_EQ(log_line(0), "ODLS found: 0");
  EXPECT_EQ(log_line(1), "Orthogonality characteristic = 0 (DLS -1, DLS -1)");
  EXPECT_EQ(ctx.model.ViewMode, 0);
  EXPECT_EQ(ctx.model.SecondSquare, second);
}

TEST_F(CoverCommandsTest, GetOdlsShowsTheFirstMateAsPair) {
  load_special(1);  // "Once": exactly one mate
  int redraws = 0;
  ctx.update_view = [&redraws] { ++redraws; };
  GetOdlsMenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 3u);
  EXPECT_EQ(log_line(0), "ODLS found: 1");
  EXPECT_EQ(log_line(1), "DLS 1: " + SquareToString(ctx.model.SecondSquare, true));
  EXPECT_EQ(log_line(1).substr(0, 27), "DLS 1: 0 1 2 3 4 5 6 7 8 9 ");
  EXPECT_EQ(log_line(2), "Orthogonality characteristic = 0 (DLS -1, DLS -1)");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(ctx.model.SecondSquare, OdlsSearch().GetOdls(ctx.model.FirstSquare).Squares.at(0));
  EXPECT_GE(redraws, 1);

  ctx.log.Clear();
  load_special(13);  // "1:10 based": ten mates
  GetOdlsMenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 12u);
  EXPECT_EQ(log_line(0), "ODLS found: 10");
  EXPECT_EQ(log_line(10).substr(0, 8), "DLS 10: ");
}

TEST_F(CoverCommandsTest, RefusesOtherOrdersAndIncompleteSquares) {
  SetOrderMenuItemClick(ctx, 12);
  const TLatinSquare first = ctx.model.FirstSquare;
  for (auto* command :
       {&GetOdlsMenuItemClick, &TransversalsStructureAnalysisMenuItemClick,
        &GetTransversalsCoverageMapMenuItemClick, &PrintAllTransversalsMenuItemClick}) {
    ctx.log.Clear();
    command(ctx);
    EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Not implemented for N<>10"});
  }
  EXPECT_EQ(ctx.model.FirstSquare, first);

  load_special(0);
  ctx.model.FirstSquare[4][4] = kEmpty;
  for (auto* command : {&GetOdlsMenuItemClick, &PrintAllTransversalsMenuItemClick}) {
    ctx.log.Clear();
    command(ctx);
    EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Square is incorrect"});
  }
  ctx.model.FirstSquare[4][4] = 10;
  ctx.log.Clear();
  GetOdlsMenuItemClick(ctx);
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Square is incorrect"});
  EXPECT_EQ(ctx.model.ViewMode, 0);

  // Ten equal rows: complete, but with 10! transversals and no mate to speak of.
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) ctx.model.FirstSquare[r][c] = c;
  for (auto* command :
       {&GetOdlsMenuItemClick, &TransversalsStructureAnalysisMenuItemClick,
        &GetTransversalsCoverageMapMenuItemClick, &PrintAllTransversalsMenuItemClick,
        &PrintAllGeneralizedSymmetriesMenuItemClick}) {
    ctx.log.Clear();
    command(ctx);
    EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Square is incorrect"});
  }
}

TEST_F(CoverCommandsTest, TransversalListingsOfASquareWithoutTransversals) {
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) ctx.model.FirstSquare[r][c] = (r + c) % kOrder;
  TransversalsStructureAnalysisMenuItemClick(ctx);
  GetTransversalsCoverageMapMenuItemClick(ctx);
  PrintAllTransversalsMenuItemClick(ctx);
  ASSERT_EQ(ctx.log.lines().size(), 2u + 11u + 1u);
  EXPECT_EQ(log_line(0), "Transversals structure: 0 0 0 0 0 0 0 0 0 0 (total 0)");
  EXPECT_EQ(log_line(1), "Diagonal transversals structure: 0 0 0 0 0 0 0 0 0 0 (total 0)");
  EXPECT_EQ(log_line(2), "Transversals coverage map (sum = 0): ");
  EXPECT_EQ(log_line(3), "  0   0   0   0   0   0   0   0   0   0 ");
  EXPECT_EQ(log_line(13), "Transversals set: ");
}

TEST_F(CoverCommandsTest, TransversalListingsOfBachelor) {
  load_special(0);
  TransversalsStructureAnalysisMenuItemClick(ctx);
  GetTransversalsCoverageMapMenuItemClick(ctx);
  PrintAllTransversalsMenuItemClick(ctx);
  const TransversalsResult diagonal = GetTransversals(ctx.model.FirstSquare, true);
  const int count = diagonal.Starts[kOrder];
  ASSERT_EQ(ctx.log.lines().size(), static_cast<std::size_t>(2 + 11 + 1 + count));
  EXPECT_TRUE(log_line(1).ends_with("(total " + std::to_string(count) + ")"));
  EXPECT_EQ(log_line(2), "Transversals coverage map (sum = " + std::to_string(10 * count) + "): ");
  std::string first = "Transversal 1:";
  for (const int c : diagonal.Transversals[0]) first += ' ' + std::to_string(c);
  EXPECT_EQ(log_line(14), first);
  EXPECT_EQ(log_line(13 + count).substr(0, 12 + std::to_string(count).size()),
            "Transversal " + std::to_string(count));
}

}  // namespace
}  // namespace dlslab::cmd
