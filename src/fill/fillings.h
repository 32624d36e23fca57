#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "model/isa_path.h"
#include "model/types.h"

// Completions ("fillings") of a partial order-10 square to a diagonal Latin square.
namespace dlslab {

/// The exhaustive search in its own order: the empty cells of the main diagonal first, then
/// those of the anti-diagonal, then always the empty cell with the fewest candidates (first in
/// row-major order on ties), values ascending. One search at a time per instance; the window
/// keeps one, batch work one per thread.
class FillingsSearch {
 public:
  /// Number of fillings, counted one by one in a copy of the square, with a speed report to
  /// diag() every 100000: the plain count, baseline of the free GetFillingsCount.
  [[nodiscard]] std::uint64_t GetFillingsCount(const TLatinSquare& square);
  /// The first filling in search order, or the source itself when it has none.
  [[nodiscard]] TLatinSquare GetFirstFilling(const TLatinSquare& source);

  /// Builds the free-value tables from square and runs the three phases on it.
  void FillAll(TLatinSquare& square);
  /// The empty cell with the fewest candidates, {-1, -1} when none is empty.
  [[nodiscard]] std::pair<int, int> SelectNextCell() const;

 private:
  enum class Mode { kCount, kFirst };

  void place(int r, int c, int v);
  void remove(int r, int c);
  [[nodiscard]] std::uint16_t candidates(int r, int c) const;
  void main_diagonal(int i);
  void anti_diagonal(int i);
  void other_cells(std::pair<int, int> cell);
  void OnFilling();

  // Free-value tables: bit v set = value v not used yet in that row, column or diagonal.
  std::array<std::uint16_t, kOrder> row_free_{};
  std::array<std::uint16_t, kOrder> col_free_{};
  std::uint16_t diag_free_ = 0;
  std::uint16_t anti_free_ = 0;
  TLatinSquare* square_ = nullptr;
  Mode mode_ = Mode::kCount;
  bool stop_ = false;
  std::uint64_t counter_ = 0;
};

/// Number of fillings of an order-10 square, with a speed report to diag() every 100000.
[[nodiscard]] std::uint64_t GetFillingsCount(const TLatinSquare& square);
/// The first filling in the search order of FillingsSearch, or the source when none exists.
[[nodiscard]] TLatinSquare GetFirstFilling(const TLatinSquare& source);

/// Number of fillings, counting no further than limit (no report): the fast route to
/// "exactly one filling", same count as GetFillingsCount up to the limit.
[[nodiscard]] std::uint64_t count_fillings_up_to(const TLatinSquare& square, std::uint64_t limit);
/// The same on the given instruction-set path (every path gives the same count).
[[nodiscard]] std::uint64_t count_fillings_up_to(const TLatinSquare& square, std::uint64_t limit,
                                              IsaPath path);
/// True when the order-10 square has exactly one filling.
[[nodiscard]] bool has_one_filling(const TLatinSquare& square);
/// True when the square has a filling whose empty cell (row, col) holds another value than
/// value. Stops at the first such filling.
[[nodiscard]] bool has_filling_without(const TLatinSquare& square, int row, int col, int value);

}  // namespace dlslab
