#include "model/ls_data_structs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "model/diagnostics.h"
#include "test_squares.h"

namespace dlslab {
namespace {

TEST(CreateSquare, FillsTheFirstRowOnly) {
  const TLatinSquare s = CreateSquare(3);
  ASSERT_EQ(s.order(), 3);
  EXPECT_EQ(SquareToString(s, false), "012------");
}

TEST(IsFilled, NeedsOrderTenWithoutEmptyCells) {
  TLatinSquare s = StringToSquare(test::kBachelor);
  EXPECT_TRUE(IsFilled(s));
  s[9][9] = kEmpty;
  EXPECT_FALSE(IsFilled(s));
  EXPECT_FALSE(IsFilled(CreateSquare(5)));
  TLatinSquare small(9);
  small.resize(9, 0);
  EXPECT_FALSE(IsFilled(small));
}

TEST(IsDiagonalLatin, ChecksRowsColumnsAndBothDiagonals) {
  EXPECT_TRUE(IsDiagonalLatin(StringToSquare(test::kBachelor)));
  EXPECT_TRUE(IsDiagonalLatin(TLatinSquare(10)));
  EXPECT_TRUE(IsDiagonalLatin(TLatinSquare(0)));

  // The cyclic square of order 5 is Latin, its main diagonal holds 0, 2, 4, 1, 3 and its
  // anti-diagonal a single value.
  TLatinSquare cyclic(5);
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j) cyclic[i][j] = (i + j) % 5;
  EXPECT_FALSE(IsDiagonalLatin(cyclic));

  TLatinSquare diagonal_repeat(3);
  diagonal_repeat[0][0] = 1;
  diagonal_repeat[2][2] = 1;
  EXPECT_FALSE(IsDiagonalLatin(diagonal_repeat));

  TLatinSquare row_repeat(4);
  row_repeat[1][0] = 3;
  row_repeat[1][3] = 3;
  EXPECT_FALSE(IsDiagonalLatin(row_repeat));
}

TEST(StringToSquare, ReadsDigitsAndTreatsOtherCharactersAsEmpty) {
  const TLatinSquare s = StringToSquare("1 2.-3");
  EXPECT_EQ(s[0][0], 1);
  EXPECT_EQ(s[0][1], 2);
  EXPECT_EQ(s[0][2], kEmpty);
  EXPECT_EQ(s[0][3], kEmpty);
  EXPECT_EQ(s[0][4], 3);
  EXPECT_EQ(s[0][5], 5);  // not reached: the first row keeps 0..9
  EXPECT_EQ(s[1][0], kEmpty);
}

TEST(StringToSquare, IgnoresCharactersAfterTheHundredth) {
  const std::string digits = std::string(test::kBachelor) + "999";
  EXPECT_EQ(SquareToString(StringToSquare(digits), false), test::kBachelor);
}

TEST(SquareToString, WithSpacesRoundTrips) {
  TLatinSquare s = StringToSquare(test::kBachelor);
  s[3][4] = kEmpty;
  const std::string spaced = SquareToString(s, true);
  EXPECT_EQ(spaced.size(), 200u);
  EXPECT_EQ(spaced.back(), ' ');
  EXPECT_EQ(StringToSquare(spaced), s);
}

TEST(RemoveSpaces, RemovesBlanksOnly) {
  std::string s = " a\tb c ";
  RemoveSpaces(s);
  EXPECT_EQ(s, "a\tbc");
}

TEST(PrintSquare, WritesTwoCharacterCellsAndCollisions) {
  std::ostringstream out;
  {
    const ScopedDiagStream to(&out);
    TLatinSquare s(3);
    s[0][0] = 1;
    s[0][1] = 12;
    PrintSquare(s, true);
  }
  EXPECT_EQ(out.str(), " 112 -\n - - -\n - - -\nCollisions: 7\n");
}

TEST(GetFreeValues, HonoursEveryTable) {
  TFreeTable row_free{}, col_free{};
  TFreeLine diag{}, anti{};
  for (auto& r : row_free) r.fill(true);
  for (auto& c : col_free) c.fill(true);
  diag.fill(true);
  anti.fill(true);
  row_free[4][1] = false;
  col_free[5][2] = false;
  anti[3] = false;
  diag[4] = false;  // cell (4, 5) is not on the main diagonal
  const FreeValues f = GetFreeValues(row_free, col_free, diag, anti, 4, 5);
  ASSERT_EQ(f.count, 7);
  EXPECT_EQ(f.values[0], 0);
  EXPECT_EQ(f.values[1], 4);
  EXPECT_EQ(f.values[6], 9);
}

}  // namespace
}  // namespace dlslab
