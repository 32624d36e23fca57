// Orthogonal diagonal mates of an order-10 DLS.
//
// In a mate the ten cells of one value form a diagonal transversal of the square, and the ten
// value classes partition the cells; so a mate is ten disjoint diagonal transversals.
//
// GetOdls lists the diagonal transversals (lexicographic, grouped by the row-0 cell); value d
// of a mate is the transversal through (0, d), so the mates have first row 0..9, and they are
// listed in lexicographic order of the chosen list indices, the order in which trying the
// groups value by value meets them. The partitions themselves are found by branching on the
// cell with the fewest candidates (see MateScratch) and sorted afterwards; each transversal is
// a 128-bit cell mask, so "disjoint" is two ANDs.
//
// GetOdlsByDlx solves two exact covers: for the transversals (100 cells x 32 constraints) and
// for the partitions (transversals x 100 cells). Value p of a mate marks the transversal chosen
// at depth p. Both go through the bitset solver, which gives the dancing-links covers in the
// dancing-links order.
#include "cover/odls.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <exception>

#include "cover/orthogonality.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
constexpr int kDiagonalColumns = 32;

struct CellMask {
  std::uint64_t lo = 0;  // cells 0..63
  std::uint64_t hi = 0;  // cells 64..99; bit 63 marks a transversal that names no cell
};
constexpr std::uint64_t kBadBit = std::uint64_t{1} << 63;

/// True when every entry of t is a column 0..9.
bool is_valid(const TTransversal& t) {
  return std::all_of(t.begin(), t.end(), [](int c) { return c >= 0 && c < kOrder; });
}

CellMask mask_of(const TTransversal& t) {
  if (!is_valid(t)) return {~std::uint64_t{0}, ~std::uint64_t{0}};
  CellMask m;
  for (int r = 0; r < kOrder; ++r) {
    const int cell = kOrder * r + t[r];
    if (cell < 64)
      m.lo |= std::uint64_t{1} << cell;
    else
      m.hi |= std::uint64_t{1} << (cell - 64);
  }
  return m;
}

/// Makes room for mate number `count` (1-based) and returns it, a 10 x 10 square.
TLatinSquare& mate_slot(TOrthogonalSquares& mates, int count) {
  if (static_cast<int>(mates.Squares.size()) < count) mates.Squares.emplace_back(kOrder);
  TLatinSquare& square = mates.Squares[count - 1];
  if (square.order() != kOrder) square = TLatinSquare(kOrder);
  return square;
}

}  // namespace

// The partition search. Each step keeps the list of transversals still disjoint from those
// chosen, takes the open cell with the fewest of them through it (counted by one pass over the
// list) and tries each of those in turn; a cell with none ends the branch. The lists shrink
// fast, so deep steps are cheap. Found partitions keep one transversal per group (value) and
// are sorted into the order in which trying the groups value by value would meet them.
struct MateScratch {
  std::vector<CellMask> masks;
  std::vector<std::array<std::uint8_t, kOrder>> cells;  // the ten cells of each entry
  std::vector<std::int8_t> group;  // the value whose group holds list entry x, or -1
  std::vector<int> lists;          // [depth][entry]: the alive entries, ascending
  int capacity = 0;
  std::array<int, kOrder> chosen{};
  std::vector<std::array<int, kOrder>> found;

  void prepare(const TTransversalStarts& starts, const TTransversalsTable& table) {
    const int n = std::min(table.Count, static_cast<int>(table.Items.size()));
    std::array<int, kOrder + 1> first{};
    first[0] = std::clamp(starts[0], 0, n);
    for (int k = 1; k <= kOrder; ++k) first[k] = std::clamp(starts[k], first[k - 1], n);
    masks.resize(n);
    cells.resize(n);
    group.assign(n, -1);
    capacity = n;
    lists.resize(static_cast<std::size_t>(kOrder + 1) * (n + 1));
    found.clear();
    int count = 0;
    for (int d = 0; d < kOrder; ++d)
      for (int x = first[d]; x < first[d + 1]; ++x) {
        masks[x] = mask_of(table.Items[x]);
        if (masks[x].hi & kBadBit) continue;
        group[x] = static_cast<std::int8_t>(d);
        for (int r = 0; r < kOrder; ++r)
          cells[x][r] = static_cast<std::uint8_t>(kOrder * r + table.Items[x][r]);
        lists[1 + count++] = x;
      }
    lists[0] = count;  // each list starts with its length
  }

  void search(int depth, std::uint64_t covered_lo, std::uint64_t covered_hi) {
    if (depth == kOrder) {
      record();
      return;
    }
    const int* list = &lists[static_cast<std::size_t>(depth) * (capacity + 1)];
    const int n = list[0];
    std::array<std::uint16_t, 128> through{};
    for (int k = 1; k <= n; ++k)
      for (const std::uint8_t cell : cells[list[k]]) ++through[cell];
    // The open cell with the fewest, the first among equals.
    int best_cell = -1;
    int best_count = n + 1;
    for (int half = 0; half < 2 && best_count > 0; ++half) {
      std::uint64_t open = half == 0 ? ~covered_lo : ~covered_hi & kFullHi;
      for (; open != 0 && best_count > 0; open &= open - 1) {
        const int cell = 64 * half + std::countr_zero(open);
        if (through[cell] < best_count) {
          best_count = through[cell];
          best_cell = cell;
        }
      }
    }
    if (best_count == 0 || best_cell < 0) return;
    const std::uint64_t bit = std::uint64_t{1} << (best_cell % 64);
    const bool high = best_cell >= 64;
    int* next = &lists[static_cast<std::size_t>(depth + 1) * (capacity + 1)];
    for (int k = 1; k <= n; ++k) {
      const int x = list[k];
      const CellMask& t = masks[x];
      if (((high ? t.hi : t.lo) & bit) == 0) continue;
      int m = 0;
      for (int q = 1; q <= n; ++q) {
        const CellMask& u = masks[list[q]];
        next[1 + m] = list[q];
        m += static_cast<int>(((u.lo & t.lo) | (u.hi & t.hi)) == 0);
      }
      next[0] = m;
      chosen[depth] = x;
      search(depth + 1, covered_lo | t.lo, covered_hi | t.hi);
    }
  }

 private:
  static constexpr std::uint64_t kFullHi = (std::uint64_t{1} << (kCells - 64)) - 1;

  void record() {
    std::array<int, kOrder> by_value{};
    by_value.fill(-1);
    for (const int x : chosen) {
      const int d = group[x];
      if (by_value[d] >= 0) return;  // two of one group: not a choice value by value
      by_value[d] = x;
    }
    found.push_back(by_value);
  }
};

namespace {

void find_mates(MateScratch& scratch, const TTransversalStarts& starts,
                const TTransversalsTable& table, TOrthogonalSquares& mates) {
  mates.Count = 0;
  scratch.prepare(starts, table);
  scratch.search(0, 0, 0);
  std::sort(scratch.found.begin(), scratch.found.end());
  for (const std::array<int, kOrder>& choice : scratch.found) {
    TLatinSquare& mate = mate_slot(mates, ++mates.Count);
    for (int v = 0; v < kOrder; ++v) {
      const TTransversal& t = table.Items[choice[v]];
      for (int r = 0; r < kOrder; ++r) mate[r][t[r]] = v;
    }
  }
}

/// Value of cell (r, c) if it is 0..9, else -1; a square below order 10 has none.
int cell_value(const TLatinSquare& square, int r, int c) {
  if (square.order() < kOrder) return -1;
  const int v = square[r][c];
  return v >= 0 && v < kOrder ? v : -1;
}

/// Columns of the transversal matrix's row for cell (r, c), increasing; count in n.
int transversal_row(const TLatinSquare& square, int r, int c, std::array<int, 5>& columns) {
  int n = 0;
  columns[n++] = r;
  columns[n++] = kOrder + c;
  const int v = cell_value(square, r, c);
  if (v >= 0) columns[n++] = 2 * kOrder + v;
  if (c == r) columns[n++] = 3 * kOrder;
  if (r + c == kOrder - 1) columns[n++] = 3 * kOrder + 1;
  return n;
}

TTransversalsTable diagonal_transversals_by_dlx(BitCoverSolver& dlx, const TLatinSquare& square) {
  dlx.Reset(kDiagonalColumns);
  std::array<int, 5> columns{};
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) {
      const int n = transversal_row(square, r, c, columns);
      dlx.AddRow(std::span<const int>(columns.data(), n));
    }
  return CoversToTransversals(dlx.Solve());
}

}  // namespace

TDlxCoverageMatrix BuildTransversalCoverMatrix(const TLatinSquare& square) {
  TDlxCoverageMatrix matrix(kCells, TDlxCoverageMatrixString(kDiagonalColumns, false));
  std::array<int, 5> columns{};
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) {
      const int n = transversal_row(square, r, c, columns);
      for (int k = 0; k < n; ++k) matrix[kOrder * r + c][columns[k]] = true;
    }
  return matrix;
}

TTransversalsTable CoversToTransversals(const TDlxCoversArr& covers) {
  TTransversalsTable table;
  table.Items.reserve(covers.size());
  for (const TDlxCover& cover : covers) {
    TTransversal& t = table.Items.emplace_back();
    t.fill(-1);
    for (const int x : cover)
      if (x >= 0 && x < kCells) t[x / kOrder] = x % kOrder;
  }
  table.Count = static_cast<int>(table.Items.size());
  return table;
}

TDlxCoverageMatrix BuildMateCoverMatrix(const TTransversalsTable& table) {
  const int n = std::min(table.Count, static_cast<int>(table.Items.size()));
  TDlxCoverageMatrix matrix(n, TDlxCoverageMatrixString(kCells, false));
  for (int k = 0; k < n; ++k)
    for (int r = 0; r < kOrder; ++r) {
      const int c = table.Items[k][r];
      if (c >= 0 && c < kOrder) matrix[k][kOrder * r + c] = true;
    }
  return matrix;
}

void CoverToMateSquare(const TDlxCover& cover, const TTransversalsTable& table,
                       TLatinSquare& square) {
  if (square.order() < kOrder) return;
  const int n = std::min(table.Count, static_cast<int>(table.Items.size()));
  const int values = std::min(static_cast<int>(cover.size()), kOrder);
  for (int p = 0; p < values; ++p) {
    const int k = cover[p];
    if (k < 0 || k >= n) continue;
    for (int r = 0; r < kOrder; ++r) {
      const int c = table.Items[k][r];
      if (c >= 0 && c < kOrder) square[r][c] = p;
    }
  }
}

void FindMates(const TTransversalStarts& starts, const TTransversalsTable& table,
               TOrthogonalSquares& mates) {
  MateScratch scratch;
  find_mates(scratch, starts, table, mates);
}

OrthogonalityCharacteristic GetOrthogonalityCharacteristic(const TOrthogonalSquares& mates) {
  OrthogonalityCharacteristic result;
  const int count = std::min(mates.Count, static_cast<int>(mates.Squares.size()));
  if (count < 2) return result;
  int best = kCells;
  for (int a = 1; a < count && best > 0; ++a)
    for (int b = a + 1; b <= count && best > 0; ++b) {
      const int d = OrthogonalityDefect(mates.Squares[a - 1], mates.Squares[b - 1]);
      if (d < best) {
        best = d;
        result.i = a;
        result.j = b;
      }
    }
  result.value = kCells - best;
  return result;
}

OdlsSearch::OdlsSearch() : OdlsSearch(DefaultIsaPath()) {}
OdlsSearch::OdlsSearch(IsaPath path)
    : transversals_(path), mate_scratch_(std::make_unique<MateScratch>()) {}
OdlsSearch::~OdlsSearch() = default;
OdlsSearch::OdlsSearch(OdlsSearch&&) noexcept = default;
OdlsSearch& OdlsSearch::operator=(OdlsSearch&&) noexcept = default;

void OdlsSearch::GetOdls(const TLatinSquare& square) {
  try {
    TTransversalStarts starts{};
    TTransversalCounts counts{};
    transversals_.GetTransversalsFast(square, true, starts, counts, table_);
    find_mates(*mate_scratch_, starts, table_, OdlsMates);
  } catch (const Cancelled&) {
    throw;  // a cancel request is no failure of the search to report
  } catch (const std::exception& e) {
    Diag() << e.what() << '\n';
    PrintSquare(square, true);
    Diag().flush();
  }
}

void OdlsSearch::FindMates(const TTransversalStarts& starts, const TTransversalsTable& table) {
  find_mates(*mate_scratch_, starts, table, OdlsMates);
}

TTransversalsTable OdlsSearch::GetDiagonalTransversalsByDlx(const TLatinSquare& square) {
  return diagonal_transversals_by_dlx(dlx_, square);
}

void OdlsSearch::GetOdlsByDlx(const TLatinSquare& square) {
  DlxTransversals = diagonal_transversals_by_dlx(dlx_, square);
  OdlsMates.Count = 0;
  if (DlxTransversals.Count < kOrder) return;
  dlx_.Reset(kCells);
  std::array<int, kOrder> cells{};
  for (const TTransversal& t : DlxTransversals.Items) {
    for (int r = 0; r < kOrder; ++r) cells[r] = kOrder * r + t[r];
    dlx_.AddRow(cells);
  }
  const TDlxCoversArr covers = dlx_.Solve();
  for (const TDlxCover& cover : covers) {
    TLatinSquare& mate = mate_slot(OdlsMates, ++OdlsMates.Count);
    CoverToMateSquare(cover, DlxTransversals, mate);
  }
}

TTransversalsTable GetDiagonalTransversalsByDlx(const TLatinSquare& square) {
  BitCoverSolver dlx;
  return diagonal_transversals_by_dlx(dlx, square);
}

}  // namespace dlslab
