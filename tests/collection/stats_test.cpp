#include "collection/stats.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab {
namespace {

TEST(GetBinIndex, OffsetByOneAndZeroWidth) {
  // Width 1.01 on 0..11 with 11 bins: v + 0.5 lands in bin v + 1.
  for (int v = 0; v <= 9; ++v) EXPECT_EQ(GetBinIndex(11, 0, 11, v + 0.5, -1), v + 1) << v;
  EXPECT_EQ(GetBinIndex(11, 0, 11, -0.5, -1), 1);  // an empty cell goes with the zeros
  EXPECT_EQ(GetBinIndex(11, 0, 11, -1.5, -1), 0);  // one width below the range
  EXPECT_EQ(GetBinIndex(10, 3, 3, 3, -1), 0);      // zero width
  EXPECT_EQ(GetBinIndex(10, 0, 1, 0.5, 1e-17), 0);
  EXPECT_EQ(GetBinIndex(4, 0, 4, 4, -1), 4);  // Max: past the last bin, left for the caller
  EXPECT_EQ(GetBinIndex(4, 0, 4, 1e300, 1e-10), 2000000000);
}

TEST(BuildHistogram, RangeFromDataAndClamping) {
  const std::vector<double> equal(5, 7.25);
  EXPECT_EQ(BuildHistogram(equal, 4, -1, 0), (TStatsHistogram{5, 0, 0, 0}));
  // Range from the data: the least value in bin 1, the largest clamped into the last bin.
  const std::vector<double> spread = {0, 1, 2, 3, 4};
  EXPECT_EQ(BuildHistogram(spread, 4, -1, 0), (TStatsHistogram{0, 2, 1, 2}));
  // Values outside a given range are clamped to the end bins.
  const std::vector<double> outside = {-100, 100, 0.5};
  EXPECT_EQ(BuildHistogram(outside, 3, 0, 3), (TStatsHistogram{1, 1, 1}));
  EXPECT_EQ(BuildHistogram({}, 3, -1, 0), (TStatsHistogram{0, 0, 0}));
  EXPECT_TRUE(BuildHistogram(spread, 0, -1, 0).empty());
}

TEST(GetMinMax, FirstValueStartsBoth) {
  double min = 42, max = 43;
  GetMinMax(std::vector<double>{}, min, max);
  EXPECT_EQ(min, 42);
  EXPECT_EQ(max, 43);
  GetMinMax(std::vector<double>{3, -2, 8, 8, -2}, min, max);
  EXPECT_EQ(min, -2);
  EXPECT_EQ(max, 8);
}

TEST(FormatFloatWithGroups, CommaAndGroupsOfThree) {
  EXPECT_EQ(FormatFloatWithGroups(0), "0,00");
  EXPECT_EQ(FormatFloatWithGroups(9), "9,00");
  EXPECT_EQ(FormatFloatWithGroups(123.456), "123,46");
  EXPECT_EQ(FormatFloatWithGroups(1000), "1 000,00");
  EXPECT_EQ(FormatFloatWithGroups(1234567.891), "1 234 567,89");
  EXPECT_EQ(FormatFloatWithGroups(-123456.5), "-123 456,50");
  EXPECT_EQ(FormatFloatWithGroups(-1234.5), "-1 234,50");
  EXPECT_EQ(FormatFloatWithGroups(-0.001), "0,00");
  EXPECT_EQ(FormatFloatWithGroups(1.5e25), "1,5E25");
  EXPECT_EQ(FormatFloatWithGroups(std::nan("")), "NAN");
}

class CellHistogramsTest : public ::testing::Test {
 protected:
  static TSquaresCollection random_collection() {
    TSquaresCollection squares;
    for (std::uint32_t seed = 1; seed <= 6; ++seed)
      squares.AddSquare(test::random_dls(seed), true, true);
    squares.AddSquare(test::random_dls(1), true, true);  // a repeat: one entry, counted once
    std::string partial(test::kBachelor);
    partial[0] = '-';
    partial[55] = 'x';
    squares.AddSquareString(partial, false, false);
    squares.AddSquareString("0 1 2", false, false);  // blanks and a short entry
    squares.AddSquareString(std::string(120, '7'), false, false);
    return squares;
  }
};

TEST_F(CellHistogramsTest, OnePassMatchesTheConversionRoute) {
  const TSquaresCollection squares = random_collection();
  const CellHistograms fast = get_cell_histograms(squares);
  EXPECT_EQ(fast, get_cell_histograms_by_conversion(squares));
  int total = 0;
  for (const int n : fast[37]) total += n;
  EXPECT_EQ(total, squares.Count());
}

TEST_F(CellHistogramsTest, ConstantCellAndEmptyCollection) {
  TSquaresCollection squares;
  for (std::uint32_t seed = 1; seed <= 5; ++seed)
    squares.AddSquare(test::random_dls(seed), true, true);
  // Normalized by the first row, so cell (0, 0) always holds 0 and cell (0, 7) always 7.
  const CellHistograms hist = get_cell_histograms(squares);
  EXPECT_EQ(hist[0], (TStatsHistogram{0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const std::string digits = get_most_frequent_values(hist);
  ASSERT_EQ(digits.size(), 100u);
  EXPECT_EQ(digits[0], '0');
  EXPECT_EQ(digits[70], '7');  // column 7 comes after seven columns of ten cells
  for (int a = 0; a < 10; ++a) EXPECT_EQ(digits[a * 10], '0' + a);

  const CellHistograms none = get_cell_histograms(TSquaresCollection());
  for (const TStatsHistogram& h : none) EXPECT_EQ(h, TStatsHistogram(11, 0));
  EXPECT_EQ(get_most_frequent_values(none), std::string(100, '0'));
}

TEST(GetMostFrequentValues, FirstOfEqualBinsAndBinZeroIgnored) {
  CellHistograms hist;
  for (TStatsHistogram& h : hist) h.assign(11, 0);
  hist[0] = {9, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0};  // bin 0 is not a value
  hist[1] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4};  // cell (0, 1): value 9, printed tenth
  const std::string digits = get_most_frequent_values(hist);
  EXPECT_EQ(digits[0], '2');
  EXPECT_EQ(digits[10], '9');
}

}  // namespace
}  // namespace dlslab
