#include "fill/fillings.h"

#include <bit>
#include <cassert>
#include <cstdio>
#include <ctime>
#include <string>

#include "fill/fill_kernels.h"
#include "model/bit_count.h"
#include "model/cycle_timer.h"
#include "model/diagnostics.h"
#include "model/progress.h"

// Two searches over the same completions. Clues are entered as they stand in both:
// conflicting clues only take values away.
//
// FillingsSearch visits the fillings in its fixed order (diagonals first, then fewest
// candidates), which decides which filling GetFirstFilling returns. It keeps free-value masks
// instead of rescanning the square: one uint16_t per row and per column and one per diagonal,
// bit v set while value v may still go there; the candidates of cell (r, c) are
// row[r] & col[c], also & diag when r = c and & anti when r + c = 9.
//
// Counting does not depend on the order, so CountSearch (count_search.inc) places everything that
// is forced and branches on the most constrained cell from the start, diagonal cells included,
// which prunes far earlier; it can also stop at a limit, which is all that the clue-set
// reductions need ("exactly one" = the count up to 2 is 1).

namespace dlslab {
namespace {

constexpr std::uint16_t kAllValues = (1u << kOrder) - 1u;
using fill_kernels::kReportEvery;
using fill_kernels::report_speed;

std::string local_date_time() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

/// The count of the path picked at start-up.
fill_kernels::CountFn default_count() {
  static const fill_kernels::CountFn count = kernel_for(fill_kernels::kCounts, default_isa_path());
  return count;
}

}  // namespace

void FillingsSearch::place(int r, int c, int v) {
  (*square_)[r][c] = v;
  const auto keep = static_cast<std::uint16_t>(~(1u << v));
  row_free_[r] &= keep;
  col_free_[c] &= keep;
  if (r == c) diag_free_ &= keep;
  if (r + c == kOrder - 1) anti_free_ &= keep;
}

void FillingsSearch::remove(int r, int c) {
  int& cell = (*square_)[r][c];
  if (cell >= 0) {
    const auto bit = static_cast<std::uint16_t>(1u << cell);
    row_free_[r] |= bit;
    col_free_[c] |= bit;
    if (r == c) diag_free_ |= bit;
    if (r + c == kOrder - 1) anti_free_ |= bit;
  }
  cell = kEmpty;
}

std::uint16_t FillingsSearch::candidates(int r, int c) const {
  std::uint16_t m = row_free_[r] & col_free_[c];
  if (r == c) m &= diag_free_;
  if (r + c == kOrder - 1) m &= anti_free_;
  return m;
}

std::pair<int, int> FillingsSearch::SelectNextCell() const {
  int best = kOrder + 1;
  std::pair<int, int> chosen{-1, -1};
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      if ((*square_)[r][c] >= 0) continue;
      const int k = bit_count(candidates(r, c));
      if (k < best) {
        best = k;
        chosen = {r, c};
        if (k < 2) return chosen;
      }
    }
  }
  return chosen;
}

void FillingsSearch::OnFilling() {
  if (mode_ == Mode::kFirst) {
    stop_ = true;
    return;
  }
  ++counter_;
  if (counter_ % kReportEvery == 0) report_speed(counter_);
}

void FillingsSearch::main_diagonal(int i) {
  if (i >= kOrder) {
    anti_diagonal(0);
    return;
  }
  if ((*square_)[i][i] >= 0) {
    main_diagonal(i + 1);
    return;
  }
  for (std::uint16_t m = candidates(i, i); m != 0; m &= m - 1) {
    place(i, i, std::countr_zero(m));
    main_diagonal(i + 1);
    if (stop_) return;  // the first filling stays in the square
    remove(i, i);
  }
}

void FillingsSearch::anti_diagonal(int i) {
  if (i >= kOrder) {
    other_cells(SelectNextCell());
    return;
  }
  const int c = kOrder - 1 - i;
  if (i == c || (*square_)[i][c] >= 0) {
    anti_diagonal(i + 1);
    return;
  }
  for (std::uint16_t m = candidates(i, c); m != 0; m &= m - 1) {
    place(i, c, std::countr_zero(m));
    anti_diagonal(i + 1);
    if (stop_) return;
    remove(i, c);
  }
}

void FillingsSearch::other_cells(std::pair<int, int> cell) {
  const auto [r, c] = cell;
  if (r < 0) {
    // No empty cell is left: the square is complete.
    OnFilling();
    return;
  }
  // Both diagonals are full by now, so rows and columns alone decide.
  for (std::uint16_t m = row_free_[r] & col_free_[c]; m != 0; m &= m - 1) {
    const int v = std::countr_zero(m);
    (*square_)[r][c] = v;
    const auto bit = static_cast<std::uint16_t>(1u << v);
    row_free_[r] &= ~bit;
    col_free_[c] &= ~bit;
    other_cells(SelectNextCell());
    if (stop_) return;
    row_free_[r] |= bit;
    col_free_[c] |= bit;
    (*square_)[r][c] = kEmpty;
  }
}

void FillingsSearch::FillAll(TLatinSquare& square) {
  square_ = &square;
  stop_ = false;
  row_free_.fill(kAllValues);
  col_free_.fill(kAllValues);
  diag_free_ = kAllValues;
  anti_free_ = kAllValues;
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      const int v = square[r][c];
      if (v < 0) continue;
      const auto keep = static_cast<std::uint16_t>(~(1u << v));
      row_free_[r] &= keep;
      col_free_[c] &= keep;
      if (r == c) diag_free_ &= keep;
      if (r + c == kOrder - 1) anti_free_ &= keep;
    }
  }
  main_diagonal(0);
}

namespace fill_kernels {

void report_speed(std::uint64_t counter) {
  StopTimer();
  const double seconds =
      static_cast<double>(GetElapsedTicks()) / static_cast<double>(wait_for_cpu_freq());
  const double per_square = seconds / static_cast<double>(counter);
  char average[64];
  char rate[64];
  std::snprintf(average, sizeof average, "%.4f", per_square * 1000.0);
  std::snprintf(rate, sizeof rate, "%.0f", 1.0 / per_square);
  std::ostream& out = diag();
  out << "\nSquares cnt: " << counter << '\n'
      << "Average time: " << average << " ms per square\n"
      << "Squares per second: " << rate << '\n'
      << local_date_time() << "\n\n";
  out.flush();
}

}  // namespace fill_kernels

std::uint64_t FillingsSearch::GetFillingsCount(const TLatinSquare& square) {
  TLatinSquare work = square;
  mode_ = Mode::kCount;
  counter_ = 0;
  StartTimer();
  FillAll(work);
  return counter_;
}

TLatinSquare FillingsSearch::GetFirstFilling(const TLatinSquare& source) {
  TLatinSquare result = source;
  mode_ = Mode::kFirst;
  FillAll(result);
  return result;
}

std::uint64_t GetFillingsCount(const TLatinSquare& square) {
  current_progress().begin("Counting the fillings");
  StartTimer();
  return default_count()(square, UINT64_MAX, true, -1, 0);
}

TLatinSquare GetFirstFilling(const TLatinSquare& source) {
  // Without a filling the fixed-order search would walk its whole tree to give back the
  // source; the counting search proves that far sooner.
  if (count_fillings_up_to(source, 1) == 0) return source;
  return FillingsSearch().GetFirstFilling(source);
}

std::uint64_t count_fillings_up_to(const TLatinSquare& square, std::uint64_t limit) {
  return default_count()(square, limit, false, -1, 0);
}

std::uint64_t count_fillings_up_to(const TLatinSquare& square, std::uint64_t limit, IsaPath path) {
  return kernel_for(fill_kernels::kCounts, path)(square, limit, false, -1, 0);
}

bool has_one_filling(const TLatinSquare& square) { return count_fillings_up_to(square, 2) == 1; }

bool has_filling_without(const TLatinSquare& square, int row, int col, int value) {
  return default_count()(square, 1, false, row * kOrder + col, value) != 0;
}

}  // namespace dlslab
