#include "model/latin_square_class.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/error.h"
#include "model/random.h"
#include "test_squares.h"

namespace dlslab {
namespace {

std::string read_file(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() {
    model.SetOrder(10);
    model.ClearSquares();
  }
  std::string temp_file(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("dlslab_model_" + std::to_string(::getpid()) + "_" + name))
        .string();
  }
  TLatinSquareClass model;
};

TEST_F(ModelTest, SetOrderResetsColoursAndTheGenerator) {
  EXPECT_EQ(model.ValueColors[0], rgb(0, 8, 220));
  EXPECT_EQ(model.ValueColors[1], rgb(51, 69, 171));
  const auto colours = model.ValueColors;
  const auto seed = RandSeed;
  Random(100);
  model.SetOrder(10);
  EXPECT_EQ(model.ValueColors, colours);
  EXPECT_EQ(RandSeed, seed);
}

TEST_F(ModelTest, SetOrderKeepsOldCellsAndFillsNewOnesWithZero) {
  model.FirstSquare[9][9] = 4;
  model.FixedCells[1][1] = true;
  model.SetOrder(12);
  EXPECT_EQ(model.GetOrder(), 12);
  EXPECT_EQ(model.FirstSquare[9][9], 4);
  EXPECT_EQ(model.FirstSquare[0][0], kEmpty);
  EXPECT_EQ(model.FirstSquare[11][11], 0);
  EXPECT_EQ(model.SecondSquare[10][3], 0);
  EXPECT_TRUE(model.FixedCells[1][1]);
  EXPECT_FALSE(model.FixedCells[11][11]);
  EXPECT_EQ(model.ValueColors.size(), 12u);
}

TEST_F(ModelTest, ClearSquaresEmptiesBothSquares) {
  EXPECT_EQ(model.GetEmptyCellsCount(), 100);
  EXPECT_TRUE(IsDiagonalLatin(model.FirstSquare));
  EXPECT_FALSE(IsFilled(model.FirstSquare));
  EXPECT_EQ(GetEmptyCellsCount(model.SecondSquare), 100);
}

TEST_F(ModelTest, NormalizeSquareRelabelsByTheFirstRow) {
  model.SetOrder(3);
  model.ClearSquares();
  const int rows[3][3] = {{2, 0, 1}, {0, 1, 2}, {1, -1, 0}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) model.FirstSquare[i][j] = rows[i][j];
  model.NormalizeSquare();
  EXPECT_EQ(SquareToString(model.FirstSquare, false), "0121202-1");
}

TEST_F(ModelTest, NormalizeSquareMapsMissingValuesToZero) {
  model.FirstSquare[0][0] = 5;
  model.FirstSquare[1][1] = 7;  // 7 is not in the first row
  model.NormalizeSquare();
  EXPECT_EQ(model.FirstSquare[0][0], 0);
  EXPECT_EQ(model.FirstSquare[1][1], 0);
}

TEST_F(ModelTest, GetCandidatesExcludesLinesOfTheCell) {
  model.SetFirstSquare(StringToSquare(test::kBachelor));
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) EXPECT_TRUE(model.GetCandidates(model.FirstSquare, i, j).empty());

  TLatinSquare s(5);
  s[0][0] = 1;  // main diagonal
  s[4][0] = 2;  // anti-diagonal
  s[2][4] = 3;  // row 2
  s[0][2] = 4;  // column 2
  EXPECT_EQ(TLatinSquareClass::GetCandidates(s, 2, 2), (TElemsArr{0}));
  EXPECT_EQ(TLatinSquareClass::GetCandidates(s, 1, 3), (TElemsArr{0, 1, 3, 4}));
}

TEST_F(ModelTest, SwapSquaresAndMarkFixedCells) {
  model.FirstSquare[0][0] = 3;
  model.SecondSquare[0][0] = 4;
  model.SwapSquares();
  EXPECT_EQ(model.FirstSquare[0][0], 4);
  EXPECT_EQ(model.SecondSquare[0][0], 3);
  model.MarkFixedCells();
  EXPECT_TRUE(model.FixedCells[0][0]);
  EXPECT_FALSE(model.FixedCells[0][1]);
}

TEST_F(ModelTest, SavesTheSingleFormByteExact) {
  model.SetOrder(2);
  model.FirstSquare[0][0] = 0;
  model.FirstSquare[0][1] = 1;
  model.FirstSquare[1][0] = 1;
  model.FirstSquare[1][1] = 0;
  const std::string file = temp_file("single.txt");
  model.SaveToFile(file);
  EXPECT_EQ(read_file(file), "DLS\r\n2\r\n 0 1 1 0");
}

TEST_F(ModelTest, SaveAndLoadRoundTripSingleAndPair) {
  model.SetFirstSquare(StringToSquare(test::kBachelor));
  model.FirstSquare[5][5] = kEmpty;
  const std::string single = temp_file("rt_single.txt");
  model.SaveToFile(single);

  TLatinSquareClass other;
  other.SetOrder(4);
  other.ViewMode = 1;
  other.LoadFromFile(single);
  EXPECT_EQ(other.ViewMode, 0);
  EXPECT_EQ(other.FirstSquare, model.FirstSquare);
  other.SaveToFile(single + ".again");
  EXPECT_EQ(read_file(single + ".again"), read_file(single));

  model.ViewMode = 1;
  model.SecondSquare = StringToSquare(test::kBachelor);
  const std::string pair = temp_file("rt_pair.txt");
  model.SaveToFile(pair);
  const std::string bytes = read_file(pair);
  EXPECT_TRUE(bytes.starts_with("ODLS\r\n10\r\n "));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
  other.ViewMode = 0;
  other.LoadFromFile(pair);
  EXPECT_EQ(other.ViewMode, 1);
  EXPECT_EQ(other.SecondSquare, model.SecondSquare);
}

TEST_F(ModelTest, LoadKeepsTheViewModeForAnUnknownHeader) {
  const std::string file = temp_file("lower.txt");
  write_file(file, "dls\n5\n 0 1 2 3 4 1 2 3 4 0 2 3 4 0 1 3 4 0 1 2 4 0 1 2 3");
  model.ViewMode = 0;
  model.LoadFromFile(file);
  EXPECT_EQ(model.ViewMode, 0);
  EXPECT_EQ(model.GetOrder(), 5);
  EXPECT_EQ(model.FirstSquare[4][4], 3);
}

TEST_F(ModelTest, BrokenFilesLeaveTheModelUnchanged) {
  model.SetFirstSquare(StringToSquare(test::kBachelor));
  const TLatinSquareClass before = model;
  const std::string file = temp_file("broken.txt");
  for (const std::string& bytes :
       {std::string("DLS\r\n10\r\n 1 2 3"), std::string("DLS\r\n31\r\n"),
        std::string("DLS\r\n0\r\n"), std::string("DLS\r\nten\r\n"),
        std::string("DLS\r\n2\r\n 0 1 1 2"), std::string("DLS\r\n2\r\n 0 1 x 0"),
        std::string("ODLS\r\n2\r\n 0 1 1 0\r\n 1 0"), std::string("")}) {
    write_file(file, bytes);
    EXPECT_THROW(model.LoadFromFile(file), Error) << bytes;
    EXPECT_EQ(model.FirstSquare, before.FirstSquare);
    EXPECT_EQ(model.ViewMode, before.ViewMode);
    EXPECT_EQ(model.ValueColors, before.ValueColors);
  }
  EXPECT_THROW(model.LoadFromFile(temp_file("does/not/exist.txt")), Error);
}

TEST_F(ModelTest, ALoadErrorSaysWhereAndWhy) {
  const std::string file = temp_file("why.txt");
  const auto error_of = [&](const std::string& bytes) {
    write_file(file, bytes);
    try {
      model.LoadFromFile(file);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const std::string cannot = "Cannot load \"" + file + "\": ";
  EXPECT_EQ(error_of("DLS\r\n2\r\n 0 1 1 0x"), cannot + "a number is expected at byte 16.");
  EXPECT_EQ(error_of("DLS\r\n2\r\n 0 12abc"), cannot + "a number is expected at byte 12.");
  EXPECT_EQ(error_of("DLS\r\n3000000000\r\n"), cannot + "the value 3000000000 is outside 1..30.");
  EXPECT_EQ(error_of("DLS\r\n2\r\n 0 1 2 0"), cannot + "the value 2 is outside -1..1.");
  EXPECT_EQ(error_of("DLS\r\n2\r\n 0 1 1"), cannot + "the file ends too early.");
}

}  // namespace
}  // namespace dlslab
