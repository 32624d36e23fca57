#include "cmd/property_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "cmd/model_commands.h"
#include "cmd/status.h"
#include "model/ls_data_structs.h"
#include "model/square_catalogue.h"
#include "test_squares.h"

namespace dlslab::cmd {
namespace {

std::string special_digits(std::string_view caption) {
  for (const auto& s : kSpecialSquares)
    if (s.caption == caption) return std::string(s.digits);
  ADD_FAILURE() << caption;
  return {};
}

/// "Symmetric Line-3" with every value v replaced by 9 - v: horizontally symmetric still, and
/// its first row 9..0 keeps it from being its own canonical form.
std::string complemented_line3() {
  std::string d = special_digits("Symmetric Line-3");
  for (char& c : d) c = static_cast<char>('9' - (c - '0'));
  return d;
}

class PropertyCommands : public ::testing::Test {
 protected:
  void import_square(const std::string& digits) { ImportSquareMenuItemClick(ctx, digits); }
  Context ctx;
};

TEST_F(PropertyCommands, PrintAllPropertiesListsTheTrueOnes) {
  import_square(complemented_line3());
  PrintAllPropertiesClick(ctx);
  EXPECT_EQ(ctx.log.lines(), (std::vector<std::string>{"HORZ_SYMM"}));
  ctx.log.Clear();
  import_square(special_digits("Loop-4"));
  PrintAllPropertiesClick(ctx);
  ASSERT_FALSE(ctx.log.lines().empty());
  EXPECT_EQ(ctx.log.lines()[0], "TRANS_SELF_ORT");
}

TEST_F(PropertyCommands, IncorrectSquaresPrintIncorrect) {
  import_square(test::kBachelor);
  ctx.model.FirstSquare[4][4] = kEmpty;
  PrintAllPropertiesClick(ctx);
  SetOrderMenuItemClick(ctx, 12);  // a complete DLS of another order is not correct either
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 12; ++j) ctx.model.FirstSquare[i][j] = (i * 5 + j) % 12;
  PrintAllPropertiesClick(ctx);
  // Every 9 made 99: no line repeats a value, but 99 is no value of order 10.
  import_square(test::kBachelor);
  for (int i = 0; i < kOrder * kOrder; ++i)
    if (ctx.model.FirstSquare.data()[i] == 9) ctx.model.FirstSquare.data()[i] = 99;
  PrintAllPropertiesClick(ctx);
  EXPECT_EQ(get_status_text(ctx.model), "");
  EXPECT_EQ(ctx.log.lines(), (std::vector<std::string>{"INCORRECT", "INCORRECT", "INCORRECT"}));
}

TEST_F(PropertyCommands, StatusText) {
  EXPECT_EQ(get_status_text(ctx.model), "");  // the empty start-up square
  import_square(complemented_line3());
  EXPECT_EQ(get_status_text(ctx.model), "HORZ_SYMM HSI=100 VSI=18 CSI=56 2.94665518995189E95");
  import_square(test::kBachelor);
  const std::string text = get_status_text(ctx.model);
  // No HORZ_SYMM: a leading blank. This square is its own canonical form.
  EXPECT_EQ(text.substr(0, 19), " CF HSI=16 VSI=20 C") << text;
  EXPECT_NE(text.find(" CSI=28 4.150218490172"), std::string::npos) << text;
  ctx.model.FirstSquare[9][9] = kEmpty;
  EXPECT_EQ(get_status_text(ctx.model), "");
}

TEST_F(PropertyCommands, IntercalatesOfAnySquare) {
  import_square(test::kBachelor);
  GetIntercalatesCountMenuItemClick(ctx);
  ClearMenuItemClick(ctx);  // every cell empty: every 2 x 2 block compares equal
  GetIntercalatesCountMenuItemClick(ctx);
  EXPECT_EQ(ctx.log.lines(),
            (std::vector<std::string>{"Intercalates found: 25", "Intercalates found: 2025"}));
}

TEST_F(PropertyCommands, CreateNextPandiagonalStepsTheCounter) {
  int redraws = 0;
  ctx.update_view = [&] { ++redraws; };
  ctx.model.ViewMode = 1;
  for (int k = 0; k < 4; ++k) {
    CreatePandiagonalMenuItemClick(ctx);
    EXPECT_EQ(ctx.model.FirstSquare[1][0], k);
  }
  EXPECT_EQ(ctx.pandiagonal_counter, 4);
  EXPECT_EQ(redraws, 4);
  EXPECT_EQ(ctx.model.ViewMode, 1);
  SetOrderMenuItemClick(ctx, 3);
  CreatePandiagonalMenuItemClick(ctx);  // k = 4 on order 3: rows step by 1, counter wraps
  EXPECT_EQ(ctx.model.FirstSquare[1][0], 1);
  EXPECT_EQ(ctx.pandiagonal_counter, 2);
}

TEST(FormatGeneral15, WritesFifteenSignificantDigits) {
  EXPECT_EQ(format_general15(0), "0");
  EXPECT_EQ(format_general15(123456789012345.0), "123456789012345");
  EXPECT_EQ(format_general15(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(format_general15(0.00001), "0.00001");
  EXPECT_EQ(format_general15(0.000001), "1E-6");
  EXPECT_EQ(format_general15(4.150218490172712e93), "4.15021849017271E93");
  EXPECT_EQ(format_general15(2.5), "2.5");
  EXPECT_EQ(format_general15(-0.125), "-0.125");
  EXPECT_EQ(format_general15(100), "100");
  EXPECT_EQ(format_general15(999999999999999.9), "1E15");  // rounding decides the notation
  EXPECT_EQ(format_general15(1.5e-300), "1.5E-300");
}

TEST(CliStatus, PrintsTheStatusOfTheLoadedSquare) {
  std::ostringstream out, err;
  const std::vector<std::string> args{"--square", complemented_line3(), "--status"};
  const int status = cli::run(args, out, err);
  EXPECT_EQ(status, 0) << err.str();
  EXPECT_EQ(out.str(), "Status: HORZ_SYMM HSI=100 VSI=18 CSI=56 2.94665518995189E95\n");
}

// The square number is a long double-precision recurrence: a fused multiply-add anywhere in it
// changes the last digits, so this pins the exact value whatever the build.
TEST(CliStatus, SquareNumberIsTheSameOnEveryBuild) {
  std::ostringstream out, err;
  const std::vector<std::string> args{
      "--square",
      "0123456789120457986350163982479358217406463578092184691325707890645132294780361565710243"
      "983782961054",
      "--status"};
  ASSERT_EQ(cli::run(args, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "Status:  CF HSI=14 VSI=16 CSI=32 4.15021849017271E93\n");
}

}  // namespace
}  // namespace dlslab::cmd
