#include "fill/fillings.h"

#include <bit>
#include <cassert>
#include <cstdio>
#include <ctime>
#include <string>

#include "bench/cycle_timer.h"
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
// Counting does not depend on the order, so CountSearch (below) places everything that is
// forced and branches on the most constrained cell from the start, diagonal cells included,
// which prunes far earlier; it can also stop at a limit, which is all that the clue-set
// reductions need ("exactly one" = the count up to 2 is 1).

namespace dlslab {
namespace {

constexpr std::uint16_t kAllValues = (1u << kOrder) - 1u;
constexpr std::uint64_t kReportEvery = 100000;

std::string LocalDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

/// The speed report of a count that has just reached a multiple of kReportEvery; the timer
/// was started with the count.
void ReportSpeed(std::uint64_t counter) {
  StopTimer();
  const double seconds =
      static_cast<double>(GetElapsedTicks()) / static_cast<double>(WaitForCpuFreq());
  const double per_square = seconds / static_cast<double>(counter);
  char average[64];
  char rate[64];
  std::snprintf(average, sizeof average, "%.4f", per_square * 1000.0);
  std::snprintf(rate, sizeof rate, "%.0f", 1.0 / per_square);
  std::ostream& out = Diag();
  out << "\nSquares cnt: " << counter << '\n'
      << "Average time: " << average << " ms per square\n"
      << "Squares per second: " << rate << '\n'
      << LocalDateTime() << "\n\n";
  out.flush();
}

// The counting search works on value planes: for every value v one 100-bit set of the cells
// that may still take v (bit 10 * r + c). A cell's candidates are the planes holding its bit;
// bit-sliced sums over the ten planes give at once the cells with no candidate, one, two.
// A line (row, column or diagonal) still open for v must take v in one of its cells, which
// gives the hidden singles: one AND and one popcount per open (value, line) pair.
//
//   plane[v]  . . x x . x . . . .    row 0   x = v may go here
//             x . . . . . . x . .    row 1
//             ...
//   open[v]   bit l = line l (rows 0-9, columns 10-19, diagonals 20, 21) holds no v yet
//
// Placing v in a cell clears the cell in every plane and the cell's lines in plane v, and
// closes those lines for v. A search node copies the whole state (256 bytes) instead of
// undoing, so a branch is a copy and a placement.

using Bits = unsigned __int128;

constexpr int kCells = kOrder * kOrder;
constexpr int kLines = 2 * kOrder + 2;
constexpr int kMainLine = 2 * kOrder;
constexpr int kAntiLine = 2 * kOrder + 1;

constexpr Bits Bit(int cell) { return Bits{1} << cell; }

int LowestCell(Bits b) {
  const auto low = static_cast<std::uint64_t>(b);
  return low != 0 ? std::countr_zero(low)
                  : 64 + std::countr_zero(static_cast<std::uint64_t>(b >> 64));
}

struct Geometry {
  std::array<Bits, kLines> line{};   // cells of each line
  std::array<Bits, kCells> peers{};  // cells sharing a line with the cell, itself included
  std::array<std::uint32_t, kCells> lines_of{};  // lines through the cell
  constexpr Geometry() {
    for (int r = 0; r < kOrder; ++r) {
      for (int c = 0; c < kOrder; ++c) {
        const int cell = r * kOrder + c;
        std::uint32_t through = (1u << r) | (1u << (kOrder + c));
        if (r == c) through |= 1u << kMainLine;
        if (r + c == kOrder - 1) through |= 1u << kAntiLine;
        lines_of[cell] = through;
        for (int l = 0; l < kLines; ++l)
          if ((through >> l) & 1u) line[l] |= Bit(cell);
      }
    }
    for (int cell = 0; cell < kCells; ++cell)
      for (int l = 0; l < kLines; ++l)
        if ((lines_of[cell] >> l) & 1u) peers[cell] |= line[l];
  }
};
constexpr Geometry kGeometry;

struct PlaneState {
  std::array<Bits, kOrder> plane;
  Bits empty;
  std::array<std::uint32_t, kOrder> open;
  // Lines whose cells for value v lost a candidate since v's lines were last checked.
  std::array<std::uint32_t, kOrder> dirty;

  void Place(int cell, int v) {
    const Bits keep = ~Bit(cell);
    const std::uint32_t through = kGeometry.lines_of[cell];
    for (int u = 0; u < kOrder; ++u) {
      plane[u] &= keep;
      dirty[u] |= through;
    }
    plane[v] &= ~kGeometry.peers[cell];
    empty &= keep;
    open[v] &= ~through;
    dirty[v] = ~0u;
  }
};

/// Counting search: places what is forced (a cell with one candidate; when the clues do not
/// clash, also a value with one cell left in an open line), then branches on an empty cell
/// with the fewest candidates. With clashing clues a line need not take all its free values,
/// so only the cell rule applies there.
class CountSearch {
 public:
  CountSearch(const TLatinSquare& square, std::uint64_t limit, bool report)
      : limit_(limit), report_(report) {
    PlaneState& s = root_;
    s.empty = 0;
    for (int cell = 0; cell < kCells; ++cell)
      if (square.data()[cell] < 0) s.empty |= Bit(cell);
    s.plane.fill(s.empty);
    s.open.fill((1u << kLines) - 1u);
    s.dirty.fill(~0u);
    bool clash = false;
    for (int cell = 0; cell < kCells; ++cell) {
      const int v = square.data()[cell];
      if (v < 0) continue;
      assert(v < kOrder);
      clash |= (s.open[v] & kGeometry.lines_of[cell]) != kGeometry.lines_of[cell];
      s.plane[v] &= ~kGeometry.peers[cell];
      s.open[v] &= ~kGeometry.lines_of[cell];
    }
    use_lines_ = !clash;
  }

  /// Takes value v away from the cell's candidates.
  void Forbid(int cell, int v) { root_.plane[v] &= ~Bit(cell); }

  std::uint64_t Run() {
    PlaneState start = root_;
    Search(start);
    return count_;
  }

 private:
  /// Places forced values until none is left; false on a dead end.
  bool Propagate(PlaneState& s) const {
    for (;;) {
      Bits once = 0;
      Bits twice = 0;
      for (const Bits p : s.plane) {
        twice |= once & p;
        once |= p;
      }
      if ((s.empty & ~once) != 0) return false;
      bool changed = false;
      for (Bits naked = once & ~twice; naked != 0; naked &= naked - 1) {
        const int cell = LowestCell(naked);
        int v = 0;
        while (v < kOrder && (s.plane[v] & Bit(cell)) == 0) ++v;
        if (v == kOrder) return false;  // an earlier single took its only value
        s.Place(cell, v);
        changed = true;
      }
      if (use_lines_) {
        for (int v = 0; v < kOrder; ++v) {
          const std::uint32_t check = s.open[v] & s.dirty[v];
          s.dirty[v] = 0;
          for (std::uint32_t o = check; o != 0; o &= o - 1) {
            const int l = std::countr_zero(o);
            if (((s.open[v] >> l) & 1u) == 0) continue;  // closed by a placement meanwhile
            const Bits where = s.plane[v] & kGeometry.line[l];
            if (where == 0) return false;
            if ((where & (where - 1)) == 0) {
              s.Place(LowestCell(where), v);
              changed = true;
            }
          }
        }
      }
      if (!changed) return true;
    }
  }

  /// Searches from s, which it uses up as its own working copy.
  void Search(PlaneState& s) {
    if (++nodes_ % 4096 == 0) {
      Progress& progress = CurrentProgress();
      progress.Poll();
      if (report_) progress.Set(count_);  // the size is not known: the fillings found so far
    }
    if (!Propagate(s)) return;
    if (s.empty == 0) {
      ++count_;
      if (report_ && count_ % kReportEvery == 0) ReportSpeed(count_);
      return;
    }
    // Every empty cell has two candidates or more now; take one with two if there is one.
    Bits once = 0;
    Bits twice = 0;
    Bits thrice = 0;
    for (const Bits p : s.plane) {
      thrice |= twice & p;
      twice |= once & p;
      once |= p;
    }
    int cell = -1;
    if (const Bits pairs = twice & ~thrice; pairs != 0) {
      cell = LowestCell(pairs);
    } else {
      int best = kOrder + 1;
      for (Bits e = s.empty; e != 0; e &= e - 1) {
        const int c = LowestCell(e);
        int k = 0;
        for (const Bits p : s.plane) k += (p & Bit(c)) != 0 ? 1 : 0;
        if (k < best) {
          best = k;
          cell = c;
        }
      }
    }
    for (int v = 0; v < kOrder && count_ < limit_; ++v) {
      if ((s.plane[v] & Bit(cell)) == 0) continue;
      PlaneState next = s;
      next.Place(cell, v);
      Search(next);
    }
  }

  PlaneState root_{};
  bool use_lines_ = false;
  std::uint64_t count_ = 0;
  std::uint64_t nodes_ = 0;
  std::uint64_t limit_;
  bool report_;
};

}  // namespace

void FillingsSearch::Place(int r, int c, int v) {
  (*square_)[r][c] = v;
  const auto keep = static_cast<std::uint16_t>(~(1u << v));
  row_free_[r] &= keep;
  col_free_[c] &= keep;
  if (r == c) diag_free_ &= keep;
  if (r + c == kOrder - 1) anti_free_ &= keep;
}

void FillingsSearch::Remove(int r, int c) {
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

std::uint16_t FillingsSearch::Candidates(int r, int c) const {
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
      const int k = std::popcount(Candidates(r, c));
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
  if (counter_ % kReportEvery == 0) ReportSpeed(counter_);
}

void FillingsSearch::MainDiagonal(int i) {
  if (i >= kOrder) {
    AntiDiagonal(0);
    return;
  }
  if ((*square_)[i][i] >= 0) {
    MainDiagonal(i + 1);
    return;
  }
  for (std::uint16_t m = Candidates(i, i); m != 0; m &= m - 1) {
    Place(i, i, std::countr_zero(m));
    MainDiagonal(i + 1);
    if (stop_) return;  // the first filling stays in the square
    Remove(i, i);
  }
}

void FillingsSearch::AntiDiagonal(int i) {
  if (i >= kOrder) {
    OtherCells(SelectNextCell());
    return;
  }
  const int c = kOrder - 1 - i;
  if (i == c || (*square_)[i][c] >= 0) {
    AntiDiagonal(i + 1);
    return;
  }
  for (std::uint16_t m = Candidates(i, c); m != 0; m &= m - 1) {
    Place(i, c, std::countr_zero(m));
    AntiDiagonal(i + 1);
    if (stop_) return;
    Remove(i, c);
  }
}

void FillingsSearch::OtherCells(std::pair<int, int> cell) {
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
    OtherCells(SelectNextCell());
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
  MainDiagonal(0);
}

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
  CurrentProgress().Begin("Counting the fillings");
  StartTimer();
  return CountSearch(square, UINT64_MAX, true).Run();
}

TLatinSquare GetFirstFilling(const TLatinSquare& source) {
  // Without a filling the fixed-order search would walk its whole tree to give back the
  // source; the counting search proves that far sooner.
  if (CountFillingsUpTo(source, 1) == 0) return source;
  return FillingsSearch().GetFirstFilling(source);
}

std::uint64_t CountFillingsUpTo(const TLatinSquare& square, std::uint64_t limit) {
  return CountSearch(square, limit, false).Run();
}

bool HasOneFilling(const TLatinSquare& square) { return CountFillingsUpTo(square, 2) == 1; }

bool HasFillingWithout(const TLatinSquare& square, int row, int col, int value) {
  CountSearch search(square, 1, false);
  search.Forbid(row * kOrder + col, value);
  return search.Run() != 0;
}

}  // namespace dlslab
