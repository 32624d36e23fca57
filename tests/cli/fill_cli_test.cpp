#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "fill/fillings.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab::cli {
namespace {

std::string RunOk(std::vector<std::string> args) {
  std::ostringstream out, err;
  EXPECT_EQ(Run(args, out, err), 0) << err.str();
  return out.str();
}

TEST(FillCli, GreedyGivesTheDeterministicSquare) {
  const std::string out = RunOk({"Greedy", "As solid string"});
  ASSERT_EQ(out.size(), 5u + 100u + 1u);
  const std::string digits = out.substr(5, 100);
  EXPECT_EQ(digits.substr(0, 15), "012345678912043");
  EXPECT_EQ(std::count(digits.begin(), digits.end(), '-'), 23);
}

TEST(FillCli, SeededRandomSearchV3RepeatsItself) {
  const std::vector<std::string> args = {"--seed", "12345", "Random search v3", "As solid string"};
  const std::string out = RunOk(args);
  EXPECT_EQ(RunOk(args), out);
  const std::string digits = out.substr(out.find("DLS: ") + 5, 100);
  const TLatinSquare sq = StringToSquare(digits);
  EXPECT_TRUE(IsFilled(sq));
  EXPECT_TRUE(IsDiagonalLatin(sq));
}

TEST(FillCli, ReductionsLogTheCluesOfAUniqueSquare) {
  for (const char* reduction : {"Backward", "Random"}) {
    const std::string out =
        RunOk({"--seed", "7", "--square", test::kBachelor, reduction, "As solid string"});
    const std::size_t at = out.find("DLS: ");
    ASSERT_NE(at, std::string::npos);
    const TLatinSquare clues = StringToSquare(out.substr(at + 5, 100));
    const int count = 100 - GetEmptyCellsCount(clues);
    EXPECT_EQ(out.substr(0, at), "Dominating set cardinality: " + std::to_string(count) + "\n");
    EXPECT_EQ(GetFillingsCount(clues), 1u);
    EXPECT_LT(count, 50);
  }
}

}  // namespace
}  // namespace dlslab::cli
