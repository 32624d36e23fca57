#include "cmd/model_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cmd/menu_table.h"
#include "model/error.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

class CommandsTest : public ::testing::Test {
 protected:
  Context ctx;
};

TEST_F(CommandsTest, ImportSquareJoinsLinesAndIgnoresBlanks) {
  ImportSquareMenuItemClick(ctx, "0 1 2 3 4\r\n5 6 7 8 9\n1.");
  EXPECT_EQ(ctx.model.ViewMode, 0);
  EXPECT_EQ(ctx.model.FirstSquare[0][9], 9);
  EXPECT_EQ(ctx.model.FirstSquare[1][0], 1);
  EXPECT_EQ(ctx.model.FirstSquare[1][1], kEmpty);
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 89);
}

TEST_F(CommandsTest, ImportSquareSetsOrderTenFirst) {
  SetOrderMenuItemClick(ctx, 12);
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  EXPECT_EQ(ctx.model.GetOrder(), 10);
  EXPECT_EQ(ctx.model.ValueColors.size(), 10u);
  EXPECT_EQ(ctx.model.SecondSquare.order(), 10);
}

TEST_F(CommandsTest, ImportPairSplitsAlternateCharacters) {
  ImportPairMenuItemClick(ctx, "01 10 2");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(ctx.model.FirstSquare[0][0], 0);
  EXPECT_EQ(ctx.model.SecondSquare[0][0], 1);
  EXPECT_EQ(ctx.model.FirstSquare[0][1], 1);
  EXPECT_EQ(ctx.model.SecondSquare[0][1], 0);
  EXPECT_EQ(ctx.model.FirstSquare[0][2], 2);  // the unpaired "2" is dropped
}

TEST_F(CommandsTest, PrintsAsSquaresAndStrings) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  PrintSquareToLogAsSolidStringClick(ctx);
  PrintSquareToLogAsStringWithSpacesClick(ctx);
  PrintSquareToLogAsSquaresClick(ctx);
  const auto& lines = ctx.log.lines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], std::string("DLS: ") + test::kBachelor);
  EXPECT_EQ(lines[1].substr(0, 9), "DLS: 0 1 ");
  EXPECT_EQ(lines[2], "0 1 2 3 4 5 6 7 8 9 ");

  ClearLogMenuItemClick(ctx);
  EXPECT_TRUE(ctx.log.lines().empty());
  RadioItemClick(ctx, 1);
  ctx.model.ClearSquares();
  PrintSquareToLogAsSolidStringClick(ctx);
  PrintSquareToLogAsSquaresClick(ctx);
  EXPECT_EQ(ctx.log.lines()[1], "DLS2: " + std::string(100, '-'));
  EXPECT_EQ(ctx.log.lines()[2], "-1 -1 -1 -1 -1 -1 -1 -1 -1 -1 ");
  EXPECT_EQ(ctx.log.lines()[12], "");
  EXPECT_EQ(ctx.log.lines().size(), 23u);
}

TEST_F(CommandsTest, PrintPairMarksRepeatedPairs) {
  PrintPairMenuItemClick(ctx);
  EXPECT_TRUE(ctx.log.lines().empty());  // single view prints nothing

  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.model.SecondSquare = ctx.model.FirstSquare;
  RadioItemClick(ctx, 1);
  PrintPairMenuItemClick(ctx);
  const auto& lines = ctx.log.lines();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "00 11 22 33 44 55 66 77 88 99 ");
  for (int r = 2; r <= 10; ++r) EXPECT_EQ(lines[r], "-- -- -- -- -- -- -- -- -- -- ");
}

TEST_F(CommandsTest, SetOrderGivesAnEmptySquareOrRefuses) {
  SetOrderMenuItemClick(ctx, 12);
  EXPECT_EQ(ctx.model.GetOrder(), 12);
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 144);
  EXPECT_THROW(SetOrderMenuItemClick(ctx, 0), Error);
  EXPECT_THROW(SetOrderMenuItemClick(ctx, 31), Error);
  EXPECT_EQ(ctx.model.GetOrder(), 12);
}

TEST_F(CommandsTest, SaveAddsTheExtensionOnlyWhenMissing) {
  EXPECT_EQ(WithDefaultExtension("/tmp/a", ".txt"), "/tmp/a.txt");
  EXPECT_EQ(WithDefaultExtension("/tmp/a.dat", ".txt"), "/tmp/a.dat");
  EXPECT_EQ(WithDefaultExtension("/tmp/x.d/a", ".txt"), "/tmp/x.d/a.txt");
  EXPECT_EQ(WithDefaultExtension("a.", ".txt"), "a..txt");
}

TEST_F(CommandsTest, SpecialSquaresAreCompleteDiagonalLatinSquares) {
  SetOrderMenuItemClick(ctx, 12);
  int loaded = 0;
  for (const MenuEntry& e : MenuTable()) {
    const bool special = std::any_of(kSpecialSquares.begin(), kSpecialSquares.end(),
                                     [&](const SpecialSquare& s) { return s.handler == e.name; });
    if (!special || e.handler == nullptr) continue;
    ++loaded;
    e.handler(ctx, "");
    EXPECT_EQ(ctx.model.GetOrder(), 10) << e.caption;
    EXPECT_TRUE(IsFilled(ctx.model.FirstSquare)) << e.caption;
    EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare)) << e.caption;
  }
  EXPECT_EQ(loaded, 20);
}

TEST(MenuTable, FindsCommandsByCaption) {
  ASSERT_NE(FindCommand("as solid string"), nullptr);
  EXPECT_EQ(FindCommand("Load from file")->name, "LoadMenuItemClick");
  EXPECT_EQ(FindCommand("LOAD FROM FILE...")->name, "LoadMenuItemClick");
  EXPECT_EQ(FindCommand("Random")->name, "GetDominatingSetRandomMenuItemClick");
  EXPECT_EQ(FindCommand("File"), nullptr);  // a menu is not a command
  EXPECT_EQ(FindCommand("-"), nullptr);
  EXPECT_EQ(FindCommand("Frobnicate"), nullptr);
}

TEST(MenuTable, CaptionsAreUnique) {
  const auto table = MenuTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].caption == "-" || IsContainer(table, i)) continue;
    EXPECT_EQ(FindCommand(table[i].caption), &table[i]) << table[i].caption;
  }
}

}  // namespace
}  // namespace dlslab::cmd
