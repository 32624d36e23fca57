// Per-cell statistics of a collection.
//
// A cell's picture is an 11-bin histogram of (value + 0.5) over the range 0..11: the bin width
// is 11 * 1.01 / 11 = 1.01, so value v (0..9) lands in bin v + 1 and an empty cell (-1, giving
// -0.5, whose quotient truncates to 0) lands in bin 1 beside the zeros. GetCellHistograms gets
// the same counts without doubles: one pass over each entry's 100 characters, each character
// mapped to its bin by a table and counted in its cell's row of a flat counter block.
#include "collection/stats.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/ls_data_structs.h"
#include "model/parse_number.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
// Entries between two progress reports and cancel polls.
constexpr int kEntriesPerPoll = 4096;

/// The bin of each character of an entry: '0'..'9' -> 1..10, anything else (an empty cell)
/// -> 1, as StringToSquare reads it.
constexpr std::array<std::uint8_t, 256> make_char_bins() {
  std::array<std::uint8_t, 256> bins{};
  for (int c = 0; c < 256; ++c) bins[c] = 1;
  for (int v = 0; v < 10; ++v) bins['0' + v] = static_cast<std::uint8_t>(v + 1);
  return bins;
}
constexpr std::array<std::uint8_t, 256> kCharBins = make_char_bins();

/// Fixed notation with two decimals and a comma; values beyond twenty digits before the comma
/// in scientific notation with up to fifteen significant digits.
std::string fixed_with_comma(double x) {
  char buf[400];
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (std::fabs(x) >= 1e20) {
    std::snprintf(buf, sizeof buf, "%.14E", x);
    std::string s = buf;
    const std::size_t e = s.find('E');
    std::string mantissa = s.substr(0, e);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    const int exponent = printf_exponent(std::string_view(s).substr(e + 1));
    s = mantissa + "E" + std::to_string(exponent);
    for (char& c : s)
      if (c == '.') c = ',';
    return s;
  }
  std::snprintf(buf, sizeof buf, "%.2f", x);
  std::string s = buf;
  if (s == "-0.00") s = "0.00";  // a value that rounds to zero has no sign
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

}  // namespace

int GetBinIndex(int bins_count, double min, double max, double x, double width) {
  if (width == -1) width = (max - min) * kStatsWidening / bins_count;
  if (std::fabs(width) <= 1e-16) return 0;
  const double q = std::trunc((x - min) / width);
  // A quotient beyond the int range can only come from a value far outside the range; it is
  // clamped like any other bin past the ends.
  if (!(q > -2e9)) return -2000000000;
  if (q > 2e9) return 2000000000;
  return static_cast<int>(q) + 1;
}

void GetMinMax(std::span<const double> values, double& min, double& max) {
  if (values.empty()) return;
  min = values[0];
  max = values[0];
  for (const double v : values) {
    if (v < min) min = v;
    if (v > max) max = v;
  }
}

TStatsHistogram BuildHistogram(std::span<const double> values, int bins_count, double min,
                               double max) {
  TStatsHistogram hist(bins_count > 0 ? bins_count : 0, 0);
  if (bins_count <= 0) return hist;
  if (min == kStatsRangeFromData) GetMinMax(values, min, max);
  const double width = (max - min) * kStatsWidening / bins_count;
  for (const double x : values) {
    int i = GetBinIndex(bins_count, min, max, x, width);
    if (i < 0) i = 0;
    if (i > bins_count - 1) i = bins_count - 1;
    ++hist[i];
  }
  return hist;
}

std::string FormatFloatWithGroups(double x) {
  const std::string text = fixed_with_comma(x);
  const std::size_t comma = text.find(',');
  const std::string head = text.substr(0, comma);
  const std::string tail = comma == std::string::npos ? std::string() : text.substr(comma);
  std::string reversed;
  int copied = 0;
  for (std::size_t i = head.size(); i-- > 0;) {
    reversed += head[i];
    if (++copied == 3) {
      copied = 0;
      if (i > 0 && head[i - 1] != '-') reversed += ' ';
    }
  }
  return std::string(reversed.rbegin(), reversed.rend()) + tail;
}

CellHistograms get_cell_histograms(const TSquaresCollection& collection) {
  const int count = collection.Count();
  Progress& progress = current_progress();
  progress.begin("Counting the values of the cells", static_cast<std::uint64_t>(count));
  // counts[cell * 16 + bin]: a row of 16 counters per cell keeps the index a shift.
  std::vector<std::uint32_t> counts(kCells * 16, 0);
  for (int first = 0; first < count; first += kEntriesPerPoll) {
    progress.poll();
    const int last = std::min(count, first + kEntriesPerPoll);
    for (int k = first; k < last; ++k) {
      const std::string_view entry = collection.Items(k);
      if (entry.size() == kCells && std::memchr(entry.data(), ' ', kCells) == nullptr) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(entry.data());
        for (int c = 0; c < kCells; ++c) ++counts[c * 16 + kCharBins[bytes[c]]];
      } else {
        // An entry of another length or with blanks reads as StringToSquare reads it.
        const TLatinSquare square = StringToSquare(entry);
        for (int c = 0; c < kCells; ++c) ++counts[c * 16 + std::max(square.data()[c] + 1, 1)];
      }
    }
    progress.advance(static_cast<std::uint64_t>(last - first));
  }
  CellHistograms histograms;
  for (int c = 0; c < kCells; ++c) {
    histograms[c].assign(kCellBinsCount, 0);
    for (int bin = 0; bin < kCellBinsCount; ++bin)
      histograms[c][bin] = static_cast<int>(counts[c * 16 + bin]);
  }
  return histograms;
}

CellHistograms get_cell_histograms_by_conversion(const TSquaresCollection& collection) {
  const int count = collection.Count();
  Progress& progress = current_progress();
  progress.begin("Counting the values of the cells", static_cast<std::uint64_t>(kCells) * count);
  CellHistograms histograms;
  TStatsSampleOfResults sample(count);
  for (int a = 0; a < kOrder; ++a)
    for (int b = 0; b < kOrder; ++b) {
      for (int k = 0; k < count; ++k) {
        if (k % kEntriesPerPoll == 0) progress.poll();
        const TLatinSquare square = StringToSquare(collection.Items(k));
        sample[k] = (square.order() == kOrder ? square[b][a] : kEmpty) + 0.5;
      }
      progress.advance(static_cast<std::uint64_t>(count));
      histograms[b * kOrder + a] = BuildHistogram(sample, kCellBinsCount, 0, kCellBinsCount);
    }
  return histograms;
}

std::string get_most_frequent_values(const CellHistograms& histograms) {
  std::string digits;
  for (int a = 0; a < kOrder; ++a)
    for (int b = 0; b < kOrder; ++b) {
      const TStatsHistogram& hist = histograms[b * kOrder + a];
      assert(hist.size() == kCellBinsCount);
      int best = 1;
      for (int bin = 2; bin < kCellBinsCount; ++bin)
        if (hist[bin] > hist[best]) best = bin;
      digits += static_cast<char>('0' + best - 1);
    }
  return digits;
}

}  // namespace dlslab
