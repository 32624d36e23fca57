#include "cmd/canon_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "analysis/isomorphism_class.h"
#include "canon/canon_baseline.h"
#include "canon/canon_test_squares.h"
#include "canon/canonical_forms.h"
#include "canon/strong_canonical_form.h"
#include "cmd/menu_table.h"
#include "cmd/menu_test_util.h"
#include "cmd/model_commands.h"
#include "cmd/property_commands.h"
#include "cmd/status.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"
#include "transform/transformations.h"

namespace dlslab::cmd {
namespace {

class CanonCommandsTest : public ::testing::Test {
 protected:
  CanonCommandsTest() {
    ctx.update_view = [this] { ++redraws; };
  }
  void show_square(const TLatinSquare& square) { ctx.model.SetFirstSquare(square); }
  Context ctx;
  int redraws = 0;
};

TEST_F(CanonCommandsTest, OtherOrdersAreRefusedAndNothingChanges) {
  SetOrderMenuItemClick(ctx, 9);
  ctx.model.FillFirstRowAscending();
  const TLatinSquare before = ctx.model.FirstSquare;
  redraws = 0;
  for (auto command : {GetCanonicalFormMenuItemClick, GetIsomorphismClassMenuItemClick,
                       GetStrongCanonicalFormMenuItemClick, GetSCFLineNumberMenuItemClick}) {
    ctx.log.Clear();
    command(ctx);
    EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Not implemented for N<>10"});
    EXPECT_EQ(ctx.model.FirstSquare, before);
  }
  EXPECT_EQ(redraws, 0);
}

TEST_F(CanonCommandsTest, CanonicalFormOfCompleteSquare) {
  const TLatinSquare s = test::random_dls(5);
  show_square(s);
  ctx.model.ViewMode = 1;
  GetCanonicalFormMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, GetCanonicalForm(s));
  EXPECT_TRUE(IsCanonicalForm(ctx.model.FirstSquare));
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(redraws, 1);
}

TEST_F(CanonCommandsTest, CanonicalFormOfIncompleteSquareIsStrongForm) {
  TLatinSquare s = test::random_dls(6);
  s[4][4] = kEmpty;
  show_square(s);
  GetCanonicalFormMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, GetStrongCanonicalForm(s));
  EXPECT_EQ(ctx.model.GetEmptyCellsCount(), 1);
}

TEST_F(CanonCommandsTest, StrongCanonicalForm) {
  const TLatinSquare s = test::random_dls(7);
  show_square(s);
  GetStrongCanonicalFormMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.FirstSquare, GetStrongCanonicalForm(s));
  EXPECT_EQ(redraws, 1);
}

TEST_F(CanonCommandsTest, ScfLineNumberOfFirstLineExample) {
  const TLatinSquare s =
      test::dls_with_diagonals({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 0, 3, 2, 6, 7, 4, 5, 9, 8});
  ASSERT_TRUE(IsFilled(s));
  TLatinSquare relabelled = test::relabelled_copy(s, {4, 2, 9, 0, 1, 3, 8, 5, 7, 6});
  show_square(relabelled);
  GetSCFLineNumberMenuItemClick(ctx);
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"SCF line 1"});
  EXPECT_EQ(ctx.model.FirstSquare, relabelled);
}

TEST_F(CanonCommandsTest, ScfLineNumberUnknownForEmptySquare) {
  GetSCFLineNumberMenuItemClick(ctx);
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"SCF line Unknown"});
}

// The two forms of one square differ, so each menu item is seen to run its own command.
TEST_F(CanonCommandsTest, MenuItemsRunTheirOwnCommand) {
  const TLatinSquare s = test::random_dls(3);
  const TLatinSquare cf = canonical_form_brute_force(s);
  ASSERT_NE(cf, GetStrongCanonicalForm(s));
  show_square(s);
  test::run_menu(ctx, "Get canonical form (CF)");
  EXPECT_EQ(ctx.model.FirstSquare, cf);
  show_square(s);
  test::run_menu(ctx, "Get strong canonical form (SCF)");
  EXPECT_EQ(ctx.model.FirstSquare, GetStrongCanonicalForm(s));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ctx.model.FirstSquare[i][i], i);

  const std::array<int, 10> diagonal{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  show_square(test::dls_with_diagonals(diagonal, {1, 2, 3, 7, 6, 9, 5, 4, 0, 8}));  // line 67
  ASSERT_TRUE(IsFilled(ctx.model.FirstSquare));
  test::run_menu(ctx, "Get SCF line number");
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"SCF line 67"});
}

TEST_F(CanonCommandsTest, IsomorphismClassIsWrittenToTheCurrentFolder) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("dlslab_iso_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const TLatinSquare s = test::random_dls(9);
  show_square(s);
  GetIsomorphismClassMenuItemClick(ctx);
  TSquaresCollection read;
  read.LoadFromFile_VelmoraFormat("Isomorphism class.txt", true, true);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);

  const TSquaresCollection iso = GetIsomorphismClass(s);
  ASSERT_EQ(read.Count(), iso.Count());
  for (int i = 0; i < iso.Count(); ++i) ASSERT_EQ(read.GetSquareString(i), iso.GetSquareString(i));
  EXPECT_EQ(ctx.log.lines(), std::vector<std::string>{"Isomorphism class.txt saved, " +
                                                      std::to_string(iso.Count()) + " squares"});
  EXPECT_EQ(ctx.model.FirstSquare, s);
}

TEST_F(CanonCommandsTest, StatusAndPropertiesTagCanonicalForms) {
  const TLatinSquare s = test::random_dls(8);
  show_square(GetCanonicalForm(s));
  const std::string status = get_status_text(ctx.model);
  EXPECT_NE(status.find(" CF HSI="), std::string::npos) << status;
  PrintAllPropertiesClick(ctx);
  ASSERT_FALSE(ctx.log.lines().empty());
  EXPECT_EQ(ctx.log.lines().back(), "CF");

  // An equivalent square with first row 0..9 that is not the canonical form.
  TLatinSquare t;
  Transpose(t, GetCanonicalForm(s));
  NormalizeByFirstRow(t);
  ASSERT_NE(t, GetCanonicalForm(s));
  show_square(t);
  EXPECT_EQ(get_status_text(ctx.model).find(" CF"), std::string::npos);
  ctx.log.Clear();
  PrintAllPropertiesClick(ctx);
  for (const std::string& line : ctx.log.lines()) EXPECT_NE(line, "CF");
}

}  // namespace
}  // namespace dlslab::cmd
