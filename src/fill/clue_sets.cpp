#include "fill/clue_sets.h"

#include <array>
#include <bitset>

#include "fill/fillings.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"
#include "model/random.h"

// The fast reductions take the same decisions as the plain ones, which count every filling,
// from much less work:
// - "exactly one filling" needs the count only up to 2;
// - while the square has exactly one filling and its clues do not clash, emptying clue x of
//   value v leaves exactly one filling unless some filling puts another value than v into x:
//   the fillings with v in x are those of the square before. So a try is one search for such
//   a filling, which stops at the first it finds;
// - when the clues do not clash, emptying more cells never lowers the number of fillings (each
//   filling extends by the clue's own value), so a cell whose removal left two or more
//   fillings fails again in every later round. The random reduction still draws for such a
//   cell and updates its list exactly as before; it only skips the search. A removal that
//   left no filling at all proves nothing for later rounds and is tried again.

namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;

template <typename Unique>
TLatinSquare reduce_backward(const TLatinSquare& source, Unique unique) {
  TLatinSquare result = source;
  Progress& progress = current_progress();
  progress.begin("Reducing the clues", kCells);
  for (int r = kOrder - 1; r >= 0; --r) {
    for (int c = kOrder - 1; c >= 0; --c) {
      progress.poll();
      progress.advance();
      const int v = result[r][c];
      result[r][c] = kEmpty;
      if (!unique(result, r, c, v)) result[r][c] = v;
    }
  }
  return result;
}

/// count_up_to_2(square, row, col, v) is the number of fillings, capped at 2, of the square
/// whose cell (row, col) of value v was just emptied; failed_for_good tells whether a count of
/// 2 condemns the cell for the rest of the reduction.
template <typename Count>
TLatinSquare reduce_randomly(const TLatinSquare& source, Count count_up_to_2,
                             bool failed_for_good) {
  TLatinSquare result = source;
  std::bitset<kCells> dead;
  std::array<int, kCells> list{};
  Progress& progress = current_progress();
  progress.begin("Reducing the clues");
  for (;;) {
    int length = 0;
    for (int cell = 0; cell < kCells; ++cell)
      if (result.data()[cell] >= 0) list[length++] = cell;
    bool removed = false;
    while (length > 0) {
      const int k = static_cast<int>(dlslab::Random(static_cast<std::uint32_t>(length)));
      const int cell = list[k];
      progress.poll();
      progress.advance();
      int& value = result.data()[cell];
      const int v = value;
      value = kEmpty;
      if (!dead[cell]) {
        const std::uint64_t count = count_up_to_2(result, cell / kOrder, cell % kOrder, v);
        if (count == 1) {
          removed = true;
          break;
        }
        if (count >= 2 && failed_for_good) dead[cell] = true;
      }
      value = v;
      list[k] = list[length - 1];
      list[length - 1] = -1;
      --length;
    }
    if (!removed) return result;
  }
}

/// The fast test of a removal: the number of fillings capped at 2.
class RemovalTest {
 public:
  explicit RemovalTest(const TLatinSquare& source)
      : clash_free_(IsDiagonalLatin(source)), one_(clash_free_ && has_one_filling(source)) {}

  [[nodiscard]] bool clash_free() const { return clash_free_; }

  /// square = the current square (exactly one filling when one_) with (row, col) of value v
  /// emptied. Emptying an empty cell changes nothing.
  std::uint64_t operator()(const TLatinSquare& square, int row, int col, int v) const {
    if (v < 0) return count_fillings_up_to(square, 2);
    if (one_) return has_filling_without(square, row, col, v) ? 2 : 1;
    return count_fillings_up_to(square, 2);
  }

 private:
  bool clash_free_;
  bool one_;
};

}  // namespace

int GetFilledCellsCount(const TLatinSquare& square) {
  int count = 0;
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) count += square[r][c] >= 0 ? 1 : 0;
  return count;
}

TLatinSquare GetDominatingSetBackward(const TLatinSquare& source) {
  const RemovalTest test(source);
  return reduce_backward(source, [&test](const TLatinSquare& sq, int r, int c, int v) {
    // Emptying an empty cell changes nothing, whatever the count says.
    return v < 0 || test(sq, r, c, v) == 1;
  });
}

TLatinSquare GetDominatingSetRandom(const TLatinSquare& source) {
  const RemovalTest test(source);
  return reduce_randomly(source, test, test.clash_free());
}

TLatinSquare get_dominating_set_backward_baseline(const TLatinSquare& source) {
  FillingsSearch search;
  return reduce_backward(source, [&search](const TLatinSquare& sq, int, int, int) {
    return search.GetFillingsCount(sq) == 1;
  });
}

TLatinSquare get_dominating_set_random_baseline(const TLatinSquare& source) {
  FillingsSearch search;
  return reduce_randomly(
      source,
      [&search](const TLatinSquare& sq, int, int, int) { return search.GetFillingsCount(sq); },
      false);
}

}  // namespace dlslab
