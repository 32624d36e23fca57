#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "collection/squares_collection.h"

namespace dlslab {

/// A sample of numbers.
using TStatsSampleOfResults = std::vector<double>;
/// Counts per bin.
using TStatsHistogram = std::vector<int>;

/// Factor by which the bin width is widened past the sample's range.
inline constexpr double kStatsWidening = 1.01;
/// The lower bound that asks for the range to be taken from the data.
inline constexpr double kStatsRangeFromData = -1;

/// BinsCount zeroed bins, then one count per value in the bin GetBinIndex gives it, clamped to
/// the bins. With min == -1 the range is the sample's own (GetMinMax).
[[nodiscard]] TStatsHistogram BuildHistogram(std::span<const double> values, int bins_count,
                                             double min, double max);
/// The bin of x: 0 when the width counts as zero, else the whole part of (x - min) / width
/// plus 1, so values from min up to min + width go to bin 1. A width of -1 is worked out from
/// the range. The result is not clamped.
[[nodiscard]] int GetBinIndex(int bins_count, double min, double max, double x, double width);
/// The smallest and largest value; an empty sample leaves both as they were.
void GetMinMax(std::span<const double> values, double& min, double& max);
/// x with two decimals after a comma and the digits before it in groups of three split by
/// blanks: 1234567.891 -> "1 234 567,89".
[[nodiscard]] std::string FormatFloatWithGroups(double x);

/// Bins of the per-cell histograms of a collection: bin v + 1 holds the value v, bin 1 also
/// the empty cells, bin 0 nothing.
inline constexpr int kCellBinsCount = 11;
/// One histogram per cell of the order-10 squares, row-major (cell (row, column) at
/// row * 10 + column), each of kCellBinsCount bins.
using CellHistograms = std::array<TStatsHistogram, kOrder * kOrder>;

/// The histograms of the values in each cell over all entries (multiplicities not counted),
/// in one pass over the entries' text.
[[nodiscard]] CellHistograms get_cell_histograms(const TSquaresCollection& collection);
/// The same histograms the plain way: for every cell, every entry converted to a square again
/// and its value + 0.5 sorted by BuildHistogram(sample, 11, 0, 11). The reference for
/// GetCellHistograms; 100 conversions per entry.
[[nodiscard]] CellHistograms get_cell_histograms_by_conversion(const TSquaresCollection& collection);
/// The most frequent value of each cell (the fullest of bins 1..10, the first on ties, minus
/// one), 100 digits column by column: cell (0, 0), (1, 0), ..., (9, 0), (0, 1), ...
[[nodiscard]] std::string get_most_frequent_values(const CellHistograms& histograms);

}  // namespace dlslab
