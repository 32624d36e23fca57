#include "cmd/transform_commands.h"

#include <gtest/gtest.h>

#include "cmd/menu_test_util.h"
#include "cmd/model_commands.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

using test::rows_of;
using test::run_menu;
using test::square_from_rows;

// An order-5 Latin square whose images under the fifteen commands are all different, so that
// each command is told apart from every other. The images are worked out by hand from the
// cell formulas: D[j][N-1-i] = S[i][j] for the clockwise turn, D[N-1-i][j] = S[i][j] for the
// vertical flip, D[i][j] = S[i][(j+1) mod N] for the move left, and so on.
constexpr const char* kSource = "02413 21340 30124 14032 43201";

struct Image {
  const char* caption;
  const char* rows;
};

constexpr Image kImages[] = {
    {"Transpose", "02314 21043 43102 14230 30421"},
    {"Antitranspose", "12403 03241 20134 34012 41320"},
    {"Rotate +90 (clockwise)", "41320 34012 20134 03241 12403"},
    {"Rotate -90 (anticlockwise)", "30421 14230 43102 21043 02314"},
    {"Rotate to 180", "10234 23041 42103 04312 31420"},
    {"Flip vertical", "43201 14032 30124 21340 02413"},
    {"Flip horizontal", "31420 04312 42103 23041 10234"},
    {"Left", "24130 13402 01243 40321 32014"},
    {"Right", "30241 02134 43012 21403 14320"},
    {"Up", "21340 30124 14032 43201 02413"},
    {"Down", "43201 02413 21340 30124 14032"},
    {"1: (i, j, a) -> (i, a, j)", "03142 41023 12304 20431 34210"},
    {"2: (i, j, a) -> (j, a, i)", "03124 21043 32410 40231 14302"},
};

class TransformCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.update_view = [this] { ++redraws; };
    SetOrderMenuItemClick(ctx, 5);
  }
  // A pair is shown; the commands switch to the single view and leave the second square alone.
  void show_pair(const TLatinSquare& first) {
    ctx.model.SetFirstSquare(first);
    ctx.model.SecondSquare = second;
    ctx.model.ViewMode = 1;
    redraws = 0;
  }
  Context ctx;
  const TLatinSquare second = square_from_rows("01234 12340 23401 34012 40123");
  int redraws = 0;
};

TEST_F(TransformCommands, EachMenuItemGivesItsOwnImage) {
  for (const Image& image : kImages) {
    SCOPED_TRACE(image.caption);
    show_pair(square_from_rows(kSource));
    run_menu(ctx, image.caption);
    EXPECT_EQ(rows_of(ctx.model.FirstSquare), image.rows);
    EXPECT_EQ(ctx.model.ViewMode, 0);
    EXPECT_EQ(ctx.model.SecondSquare, second);
    EXPECT_EQ(redraws, 1);
  }
}

TEST_F(TransformCommands, InversesOfRowsAndColumnsOfAnOrderTenSquare) {
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.model.ViewMode = 1;
  run_menu(ctx, "Get string-inverse square");
  EXPECT_EQ(ctx.model.ViewMode, 0);
  EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false),
            "0123456789201534897673906125488654197230370286915498475206134576081392148927306552"
            "619348076938705421");
  ImportSquareMenuItemClick(ctx, test::kBachelor);
  ctx.model.ViewMode = 1;
  run_menu(ctx, "Get column-inverse square");
  EXPECT_EQ(ctx.model.ViewMode, 0);
  EXPECT_EQ(SquareToString(ctx.model.FirstSquare, false),
            "0714689235108276345941095386722840316597637105294892581047635627890314743692508185"
            "932471063965471820");
}

// The first row 0 2 4 1 3 relabels 0->0 2->1 4->2 1->3 3->4; the main diagonal 0 1 1 - 1
// relabels 0->0 1->4 3->3 (the last 1 wins) and the values 2 and 4, missing there, to 0.
TEST_F(TransformCommands, NormalizationsRelabelInPlaceAndKeepThePair) {
  const TLatinSquare partial = square_from_rows("02413 21340 30124 14-32 43201");
  show_pair(partial);
  run_menu(ctx, "Normalize 1 (by first row)");
  EXPECT_EQ(rows_of(ctx.model.FirstSquare), "01234 13420 40312 32-41 24103");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(redraws, 1);

  show_pair(partial);
  run_menu(ctx, "Normalize 2 (by main diagonal)");
  EXPECT_EQ(rows_of(ctx.model.FirstSquare), "00043 04300 30400 40-30 03004");
  EXPECT_EQ(ctx.model.ViewMode, 1);
  EXPECT_EQ(ctx.model.SecondSquare, second);
  EXPECT_EQ(redraws, 1);
}

TEST_F(TransformCommands, PartialSquareOfAnotherOrderIsSafe) {
  SetOrderMenuItemClick(ctx, 7);
  ctx.model.FirstSquare[3][3] = 6;
  ctx.model.FirstSquare[4][1] = 99;
  GetStringInversePermutableSquareMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetOrder(), 7);
  EXPECT_EQ(ctx.model.FirstSquare[3][6], 3);
  GetColumnInversePermutableSquareMenuItemClickClick(ctx);
  GetParastrof2MenuItemClick(ctx);
  RotateLeftMenuItemClick(ctx);
  EXPECT_EQ(ctx.model.GetOrder(), 7);
}

}  // namespace
}  // namespace dlslab::cmd
