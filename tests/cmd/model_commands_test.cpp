#include "cmd/model_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cmd/menu_table.h"
#include "cmd/menu_test_util.h"
#include "model/error.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

using test::rows_of;
using test::run_menu;
using test::square_from_rows;

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    ctx.update_view = [this] { ++redraws; };
  }
  /// An order-3 pair: a partial first square and a full second one.
  void show_pair() {
    SetOrderMenuItemClick(ctx, 3);
    ctx.model.SetFirstSquare(square_from_rows("012 120 20-"));
    ctx.model.SecondSquare = square_from_rows("021 210 102");
    ctx.model.ViewMode = 1;
    redraws = 0;
  }
  const std::vector<std::string>& log_lines() const { return ctx.log.lines(); }
  Context ctx;
  int redraws = 0;
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
  run_menu(ctx, "Import pair...", "01 10 2");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(ctx.model.FirstSquare[0][0], 0);
  EXPECT_EQ(ctx.model.SecondSquare[0][0], 1);
  EXPECT_EQ(ctx.model.FirstSquare[0][1], 1);
  EXPECT_EQ(ctx.model.SecondSquare[0][1], 0);
  EXPECT_EQ(ctx.model.FirstSquare[0][2], 2);  // the unpaired "2" is dropped
  EXPECT_EQ(ctx.model.SecondSquare[0][2], 2);
  EXPECT_EQ(ctx.model.FirstSquare[1][0], kEmpty);
  EXPECT_EQ(redraws, 1);
}

TEST_F(CommandsTest, PrintsOfTheSingleSquare) {
  show_pair();
  run_menu(ctx, "Single square");
  EXPECT_EQ(ctx.model.ViewMode, 0);
  for (const char* caption :
       {"As squares", "As solid string", "As string with spaces", "Print pair"})
    run_menu(ctx, caption);
  EXPECT_EQ(log_lines(), (std::vector<std::string>{"0 1 2 ", "1 2 0 ", "2 0 -1 ", "DLS: 01212020-",
                                                   "DLS: 0 1 2 1 2 0 2 0 - "}));
}

TEST_F(CommandsTest, PrintsOfThePair) {
  show_pair();
  ctx.model.ViewMode = 0;
  run_menu(ctx, "Pair of squares");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(redraws, 1);
  for (const char* caption :
       {"As squares", "As solid string", "As string with spaces", "Print pair"})
    run_menu(ctx, caption);
  // In "Print pair" a cell whose ordered pair came earlier in row-major order prints "-- ".
  EXPECT_EQ(log_lines(),
            (std::vector<std::string>{"0 1 2 ", "1 2 0 ", "2 0 -1 ", "", "0 2 1 ", "2 1 0 ",
                                      "1 0 2 ", "DLS: 01212020-", "DLS2: 021210102",
                                      "DLS: 0 1 2 1 2 0 2 0 - ", "DLS2: 0 2 1 2 1 0 1 0 2 ", "",
                                      "00 12 21 ", "-- -- -- ", "-- -- -12 "}));
  EXPECT_EQ(redraws, 1);  // prints do not redraw

  ClearLogMenuItemClick(ctx);
  EXPECT_TRUE(log_lines().empty());
  ctx.model.SetFirstSquare(square_from_rows("012 201 120"));  // orthogonal to the second square
  run_menu(ctx, "Print pair");
  EXPECT_EQ(log_lines(), (std::vector<std::string>{"", "00 12 21 ", "22 01 10 ", "11 20 02 "}));
}

TEST_F(CommandsTest, SwapFillAndClearTheSquares) {
  show_pair();
  run_menu(ctx, "Swap squares");
  EXPECT_EQ(rows_of(ctx.model.FirstSquare), "021 210 102");
  EXPECT_EQ(rows_of(ctx.model.SecondSquare), "012 120 20-");
  EXPECT_EQ(redraws, 1);

  ctx.model.SetFirstSquare(square_from_rows("2-1 120 20-"));
  run_menu(ctx, "Ascending fill first string");
  EXPECT_EQ(rows_of(ctx.model.FirstSquare), "012 120 20-");
  EXPECT_EQ(rows_of(ctx.model.SecondSquare), "012 120 20-");
  EXPECT_EQ(redraws, 2);

  run_menu(ctx, "Clear square");
  EXPECT_EQ(rows_of(ctx.model.FirstSquare), "--- --- ---");
  EXPECT_EQ(rows_of(ctx.model.SecondSquare), "--- --- ---");
  EXPECT_EQ(ctx.model.GetOrder(), 3);
  EXPECT_EQ(redraws, 3);
}

TEST_F(CommandsTest, SetOrderGivesAnEmptySquareOrRefuses) {
  run_menu(ctx, "Set order...", "12");
  EXPECT_EQ(ctx.model.GetOrder(), 12);
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 144);
  EXPECT_THROW(SetOrderMenuItemClick(ctx, 0), Error);
  EXPECT_THROW(SetOrderMenuItemClick(ctx, 31), Error);
  EXPECT_THROW(run_menu(ctx, "Set order...", "7x"), Error);
  EXPECT_EQ(ctx.model.GetOrder(), 12);
}

class SquareFiles : public CommandsTest {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir / "x.d"); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  static std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("dlslab_files_" + std::to_string(::getpid()));
};

TEST_F(SquareFiles, SaveAddsTxtOnlyWhenTheNameHasNoExtension) {
  show_pair();
  ctx.model.ViewMode = 0;
  run_menu(ctx, "Save to file...", (dir / "single").string());
  EXPECT_FALSE(std::filesystem::exists(dir / "single"));
  EXPECT_EQ(read_file(dir / "single.txt"), "DLS\r\n3\r\n 0 1 2 1 2 0 2 0 -1");

  ctx.model.ViewMode = 1;
  run_menu(ctx, "Save to file...", (dir / "pair.dat").string());
  EXPECT_EQ(read_file(dir / "pair.dat"), "ODLS\r\n3\r\n 0 1 2 1 2 0 2 0 -1\r\n 0 2 1 2 1 0 1 0 2");
  run_menu(ctx, "Save to file...", (dir / "x.d" / "a").string());  // the dot is in the folder
  EXPECT_TRUE(std::filesystem::exists(dir / "x.d" / "a.txt"));
  run_menu(ctx, "Save to file...", (dir / "b.").string());  // nothing after the dot
  EXPECT_TRUE(std::filesystem::exists(dir / "b..txt"));
  EXPECT_EQ(redraws, 0);
}

TEST_F(SquareFiles, SavesTellTheFileWrittenInANoticeNotInTheLog) {
  std::vector<std::string> notices;
  ctx.notice = [&notices](const std::string& text) { notices.push_back(text); };
  ctx.save_bitmap = [](const std::string&) {};
  show_pair();
  run_menu(ctx, "Save to file...", (dir / "pair").string());
  run_menu(ctx, "Save as bmp...", (dir / "view").string());
  EXPECT_EQ(notices,
            (std::vector<std::string>{"Save to file: " + (dir / "pair.txt").string() + " written",
                                      "Save as bmp: " + (dir / "view.bmp").string() + " written"}));
  // A save that fails says nothing of a file written.
  EXPECT_ANY_THROW(run_menu(ctx, "Save to file...", (dir / "missing" / "a.txt").string()));
  EXPECT_EQ(notices.size(), 2u);
  EXPECT_TRUE(log_lines().empty());
}

TEST_F(SquareFiles, LoadRestoresTheOrderTheSquaresAndTheView) {
  show_pair();
  run_menu(ctx, "Save to file...", (dir / "pair.txt").string());
  ctx.model.ViewMode = 0;
  run_menu(ctx, "Save to file...", (dir / "single.txt").string());

  Context other;
  int other_redraws = 0;
  other.update_view = [&other_redraws] { ++other_redraws; };
  run_menu(other, "Load from file...", (dir / "pair.txt").string());
  EXPECT_EQ(other.model.GetOrder(), 3);
  EXPECT_EQ(other.model.ViewMode, 1);
  EXPECT_EQ(rows_of(other.model.FirstSquare), "012 120 20-");
  EXPECT_EQ(rows_of(other.model.SecondSquare), "021 210 102");
  EXPECT_EQ(other_redraws, 1);
  run_menu(other, "Load from file...", (dir / "single.txt").string());
  EXPECT_EQ(other.model.ViewMode, 0);
  EXPECT_EQ(rows_of(other.model.FirstSquare), "012 120 20-");
  EXPECT_EQ(other_redraws, 2);
}

TEST_F(CommandsTest, EachSpecialSquareLoadsItsOwnDigits) {
  SetOrderMenuItemClick(ctx, 12);
  for (const SpecialSquare& special : kSpecialSquares) {
    SCOPED_TRACE(special.caption);
    run_menu(ctx, special.caption);
    EXPECT_EQ(ctx.model.GetOrder(), 10);
    EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false), special.digits);
    EXPECT_TRUE(IsFilled(ctx.model.FirstSquare));
    EXPECT_TRUE(IsDiagonalLatin(ctx.model.FirstSquare));
  }
}

TEST_F(CommandsTest, ASpecialSquareIsNamedInANotice) {
  std::vector<std::string> notices;
  ctx.notice = [&notices](const std::string& text) { notices.push_back(text); };
  run_menu(ctx, "Fish");
  run_menu(ctx, "XO=74");  // of no family type
  EXPECT_EQ(notices, (std::vector<std::string>{"Special square Fish loaded, type FISH (N)",
                                               "Special square XO=74 loaded"}));
  EXPECT_TRUE(log_lines().empty());
}

TEST(menu_table, FindsCommandsByCaption) {
  ASSERT_NE(find_command("as solid string"), nullptr);
  EXPECT_EQ(find_command("Load from file")->name, "LoadMenuItemClick");
  EXPECT_EQ(find_command("LOAD FROM FILE...")->name, "LoadMenuItemClick");
  EXPECT_EQ(find_command("Random")->name, "GetDominatingSetRandomMenuItemClick");
  EXPECT_EQ(find_command("File"), nullptr);  // a menu is not a command
  EXPECT_EQ(find_command("-"), nullptr);
  EXPECT_EQ(find_command("Frobnicate"), nullptr);
}

TEST(menu_table, EachIdNamesOneItem) {
  EXPECT_EQ(find_menu_item(MenuId::kUndo).caption, "Undo");
  EXPECT_EQ(find_menu_item(MenuId::kSaveAsBmp).name, "SaveAsBmpClick");
  EXPECT_TRUE(find_menu_item(MenuId::kResearchMode).window_only);
  for (int id = 1; id < static_cast<int>(MenuId::kCount); ++id) {
    int count = 0;
    for (const MenuEntry& entry : menu_table()) count += static_cast<int>(entry.id) == id;
    EXPECT_EQ(count, 1) << "id " << id;
  }
}

TEST(menu_table, CaptionsAreUnique) {
  const auto table = menu_table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].caption == "-" || is_container(table, i)) continue;
    EXPECT_EQ(find_command(table[i].caption), &table[i]) << table[i].caption;
  }
}

}  // namespace
}  // namespace dlslab::cmd
