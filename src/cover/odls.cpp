// Orthogonal diagonal mates of an order-10 DLS.
//
// In a mate the ten cells of one value form a diagonal transversal of the square, and the ten
// value classes partition the cells; so a mate is ten disjoint diagonal transversals.
//
// GetOdls lists the diagonal transversals (lexicographic, grouped by the row-0 cell); value d
// of a mate is the transversal through (0, d), so the mates have first row 0..9, and they are
// listed in lexicographic order of the chosen list indices, the order in which trying the
// groups value by value meets them. The partitions themselves are found by branching on the
// cell with the fewest candidates (see MateScratch) and sorted afterwards. Most squares have no
// mate at all, and the search proves that within two or three steps, so what counts is the
// cost per transversal of reading the list and of the first steps, not the depth.
//
// GetOdlsByDlx solves two exact covers: for the transversals (100 cells x 32 constraints) and
// for the partitions (transversals x 100 cells). Value p of a mate marks the transversal chosen
// at depth p. Both go through the bitset solver, which gives the dancing-links covers in the
// dancing-links order.
#include "cover/odls.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <exception>

#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/orthogonality.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
constexpr int kDiagonalColumns = 32;

/// A transversal as the partition search holds it (see MateScratch): two words that the
/// compiler keeps in one vector register where it has them.
using CellMask = std::uint64_t __attribute__((vector_size(16)));
constexpr std::uint64_t kCellsLo = (std::uint64_t{1} << 60) - 1;
constexpr std::uint64_t kCellsHi = (std::uint64_t{1} << 40) - 1;
constexpr int kIndexShift = 40;
constexpr int kMaxEntries = 1 << (64 - kIndexShift);
/// Set in a look-up for a column outside 0..9; never part of a valid entry.
constexpr std::uint64_t kBadBit = std::uint64_t{1} << 63;

/// bit[r][c]: the bit of cell (r, c) in its word; columns 10..15 give kBadBit.
struct CellBitTable {
  std::uint64_t bit[kOrder][16];
};
constexpr CellBitTable make_cell_bits() {
  CellBitTable table{};
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < 16; ++c)
      table.bit[r][c] = c < kOrder ? std::uint64_t{1} << (kOrder * (r % 6) + c) : kBadBit;
  return table;
}
constexpr CellBitTable kCellBits = make_cell_bits();

/// Bit-sliced counts 0..15 of the entries through each cell of one word (bit i of b_k is bit k
/// of the count of cell i), and the cells with 16 or more.
struct CellCounts {
  std::uint64_t b0, b1, b2, b3, over;

  /// The cells with at least one entry.
  [[nodiscard]] std::uint64_t any() const { return b0 | b1 | b2 | b3 | over; }
  /// The cells of among with the least count below 16; none when all have 16 or more.
  [[nodiscard]] std::uint64_t fewest(std::uint64_t among) const {
    among &= ~over;
    for (const std::uint64_t b : {b3, b2, b1, b0})
      if ((among & ~b) != 0) among &= ~b;
    return among;
  }
  /// The count of the cell at bit i, one below 16.
  [[nodiscard]] int count(int i) const {
    return static_cast<int>((b0 >> i & 1) | (b1 >> i & 1) << 1 | (b2 >> i & 1) << 2 |
                            (b3 >> i & 1) << 3);
  }
};

/// True when a and b share no cell (b without its index bits).
bool disjoint(CellMask a, CellMask b) {
  const CellMask both = a & b;
  return (both[0] | both[1]) == 0;
}

/// True when every entry of t is a column 0..9.
bool is_valid(const TTransversal& t) {
  return std::all_of(t.begin(), t.end(), [](int c) { return c >= 0 && c < kOrder; });
}

}  // namespace

// The partition search.
//
// An entry is one transversal as a 100-bit cell mask in two words, with its list index in the
// spare high bits:
//
//   word 0  bits  0..59   cell (r, c), r = 0..5, at bit 10r + c
//   word 1  bits  0..39   cell (r, c), r = 6..9, at bit 10(r - 6) + c
//           bits 40..63   the transversal's list index
//
// so that a row never straddles the two words and the mask of a transversal is ten table
// look-ups. Each step keeps the list of entries still disjoint from those chosen, by value;
// a step's list is followed in `lists` by the lists of its branches, two at a time, so the
// lists of the open steps are stacked one after another. A step counts how many entries go
// through each open cell with bit-sliced counters (a cell with none ends the branch), takes the
// open cell with the fewest and tries each of its entries in turn, building the lists of two
// branches in one pass over its own. Past the first step, where lists are short and most
// branches end at once, a cheaper pass that only tells none, one and more comes first; a cell
// with one entry is taken at once. Found partitions keep one transversal per group (value) and
// are sorted into the order in which trying the groups value by value would meet them.
struct MateScratch {
  std::vector<CellMask> lists;
  std::array<int, kOrder + 1> first{};  // first[d]..first[d + 1] - 1: the group of value d
  std::array<int, kOrder> chosen{};
  std::vector<std::array<int, kOrder>> found;

  /// Fills the first list with the valid transversals of the groups; returns its length.
  std::size_t prepare(const TTransversalStarts& starts, const TTransversalsTable& table) {
    const int n = table.Count();
    assert(n < kMaxEntries);
    first[0] = std::clamp(starts[0], 0, n);
    for (int k = 1; k <= kOrder; ++k) first[k] = std::clamp(starts[k], first[k - 1], n);
    // A list and the two branch lists after it take twice its length, and each list is
    // shorter than the one before.
    const std::size_t need = 2 * static_cast<std::size_t>(kOrder + 1) * (n + 1);
    if (lists.size() < need) lists.resize(need);
    found.clear();
    const TTransversal* items = table.Items.data();
    // With every column in 0..15 the look-up table can be read as it is; its rows give the
    // bad bit for 10..15.
    std::array<unsigned, kOrder> seen{};
    for (int x = first[0]; x < first[kOrder]; ++x)
      for (int r = 0; r < kOrder; ++r) seen[r] |= static_cast<unsigned>(items[x][r]);
    unsigned all = 0;
    for (const unsigned s : seen) all |= s;
    CellMask* out = lists.data();
    const auto add = [&out](const TTransversal& t, int x) {
      std::uint64_t lo = 0;
      std::uint64_t hi = 0;
      for (int r = 0; r < 6; ++r) lo |= kCellBits.bit[r][t[r]];
      for (int r = 6; r < kOrder; ++r) hi |= kCellBits.bit[r][t[r]];
      *out = CellMask{lo, hi | static_cast<std::uint64_t>(x) << kIndexShift};
      out += static_cast<int>(((lo | hi) & kBadBit) == 0);
    };
    if (all < 16) {
      for (int x = first[0]; x < first[kOrder]; ++x) add(items[x], x);
    } else {
      for (int x = first[0]; x < first[kOrder]; ++x)
        if (is_valid(items[x])) add(items[x], x);
    }
    return static_cast<std::size_t>(out - lists.data());
  }

  /// Tries the n entries of list, the cells outside open_lo/open_hi covered.
  void search(int depth, const CellMask* list, std::size_t n, std::uint64_t open_lo,
              std::uint64_t open_hi) {
    if (depth == kOrder) {
      record();
      return;
    }
    // The cell to branch on: bit of word `word`, with `branches` entries through it.
    int word = 0;
    std::uint64_t bit = 0;
    int branches = 1;
    if (depth > 0) {
      CellMask one{0, 0};
      CellMask two{0, 0};
      std::size_t k = 0;
      for (; k + 2 <= n; k += 2) {
        const CellMask either = list[k] | list[k + 1];
        two |= (one & either) | (list[k] & list[k + 1]);
        one |= either;
      }
      if (k < n) {
        two |= one & list[k];
        one |= list[k];
      }
      if (((open_lo & ~one[0]) | (open_hi & ~one[1])) != 0) return;
      const std::uint64_t single_lo = open_lo & ~two[0];
      const std::uint64_t single_hi = open_hi & ~two[1];
      if (single_lo != 0) {
        bit = single_lo & -single_lo;
      } else if (single_hi != 0) {
        bit = single_hi & -single_hi;
        word = 1;
      }
    }
    if (bit == 0) {
      // Two entries at a time: a full adder into b0, its carry rippled up.
      CellMask b0{0, 0}, b1 = b0, b2 = b0, b3 = b0, over = b0;
      const auto carry = [&](CellMask c1) {
        const CellMask c2 = b1 & c1;
        b1 ^= c1;
        const CellMask c3 = b2 & c2;
        b2 ^= c2;
        over |= b3 & c3;
        b3 ^= c3;
      };
      std::size_t k = 0;
      for (; k + 2 <= n; k += 2) {
        const CellMask half = b0 ^ list[k];
        carry((b0 & list[k]) | (half & list[k + 1]));
        b0 = half ^ list[k + 1];
      }
      if (k < n) {
        carry(b0 & list[k]);
        b0 ^= list[k];
      }
      const CellCounts lo{b0[0], b1[0], b2[0], b3[0], over[0]};
      const CellCounts hi{b0[1], b1[1], b2[1], b3[1], over[1]};
      if (((open_lo & ~lo.any()) | (open_hi & ~hi.any())) != 0) return;
      const std::uint64_t best_lo = lo.fewest(open_lo);
      const std::uint64_t best_hi = hi.fewest(open_hi);
      const int count_lo = best_lo != 0 ? lo.count(std::countr_zero(best_lo)) : kCells;
      const int count_hi = best_hi != 0 ? hi.count(std::countr_zero(best_hi)) : kCells;
      if (best_lo == 0 && best_hi == 0) {
        branches = fewest_by_counting(list, n, open_lo, open_hi, word, bit);
      } else if (count_hi < count_lo) {
        word = 1;
        bit = best_hi & -best_hi;
        branches = count_hi;
      } else {
        bit = best_lo & -best_lo;
        branches = count_lo;
      }
    }
    CellMask* next = const_cast<CellMask*>(list) + n;
    const CellMask cells{kCellsLo, kCellsHi};
    const CellMask* branch = list;
    const auto next_branch = [&] {
      while ((branch[0][word] & bit) == 0) ++branch;
      return branch++;
    };
    for (; branches >= 2; branches -= 2) {
      const CellMask* x = next_branch();
      const CellMask* y = next_branch();
      const CellMask tx = *x & cells;
      const CellMask ty = *y & cells;
      CellMask* next_x = next + n;
      std::size_t mx = 0;
      std::size_t my = 0;
      for (std::size_t q = 0; q < n; ++q) {
        next_x[mx] = list[q];
        mx += static_cast<std::size_t>(disjoint(list[q], tx));
        next[my] = list[q];
        my += static_cast<std::size_t>(disjoint(list[q], ty));
      }
      chosen[depth] = static_cast<int>((*x)[1] >> kIndexShift);
      search(depth + 1, next_x, mx, open_lo & ~tx[0], open_hi & ~tx[1]);
      chosen[depth] = static_cast<int>((*y)[1] >> kIndexShift);
      search(depth + 1, next, my, open_lo & ~ty[0], open_hi & ~ty[1]);
    }
    if (branches == 1) {
      const CellMask* x = next_branch();
      const CellMask tx = *x & cells;
      std::size_t m = 0;
      for (std::size_t q = 0; q < n; ++q) {
        next[m] = list[q];
        m += static_cast<std::size_t>(disjoint(list[q], tx));
      }
      chosen[depth] = static_cast<int>((*x)[1] >> kIndexShift);
      search(depth + 1, next, m, open_lo & ~tx[0], open_hi & ~tx[1]);
    }
  }

 private:
  /// The open cell with the fewest entries when every open cell has 16 or more; returns the
  /// count.
  static int fewest_by_counting(const CellMask* list, std::size_t n, std::uint64_t open_lo,
                                std::uint64_t open_hi, int& word, std::uint64_t& bit) {
    std::array<int, 128> through{};
    for (std::size_t k = 0; k < n; ++k) {
      for (std::uint64_t m = list[k][0]; m != 0; m &= m - 1) ++through[std::countr_zero(m)];
      for (std::uint64_t m = list[k][1] & kCellsHi; m != 0; m &= m - 1)
        ++through[64 + std::countr_zero(m)];
    }
    int best = -1;
    for (int half = 0; half < 2; ++half)
      for (std::uint64_t open = half == 0 ? open_lo : open_hi; open != 0; open &= open - 1) {
        const int cell = 64 * half + std::countr_zero(open);
        if (best < 0 || through[cell] < through[best]) best = cell;
      }
    word = best / 64;
    bit = std::uint64_t{1} << (best % 64);
    return through[best];
  }

  void record() {
    std::array<int, kOrder> by_value{};
    by_value.fill(-1);
    for (const int x : chosen) {
      int d = kOrder - 1;
      while (first[d] > x) --d;
      if (by_value[d] >= 0) return;  // two of one group: not a choice value by value
      by_value[d] = x;
    }
    found.push_back(by_value);
  }
};

namespace {

TOrthogonalSquares find_mates(MateScratch& scratch, const TTransversalStarts& starts,
                              const TTransversalsTable& table) {
  const std::size_t n = scratch.prepare(starts, table);
  scratch.search(0, scratch.lists.data(), n, kCellsLo, kCellsHi);
  std::sort(scratch.found.begin(), scratch.found.end());
  TOrthogonalSquares mates;
  mates.Squares.reserve(scratch.found.size());
  for (const std::array<int, kOrder>& choice : scratch.found) {
    TLatinSquare& mate = mates.Squares.emplace_back(kOrder);
    for (int v = 0; v < kOrder; ++v) {
      const TTransversal& t = table.Items[choice[v]];
      for (int r = 0; r < kOrder; ++r) mate[r][t[r]] = v;
    }
  }
  return mates;
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
  dlx.reset(kDiagonalColumns);
  std::array<int, 5> columns{};
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) {
      const int n = transversal_row(square, r, c, columns);
      dlx.add_row(std::span<const int>(columns.data(), n));
    }
  return CoversToTransversals(dlx.solve());
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
  return table;
}

TDlxCoverageMatrix BuildMateCoverMatrix(const TTransversalsTable& table) {
  const int n = table.Count();
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
  const int n = table.Count();
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

TOrthogonalSquares FindMates(const TTransversalStarts& starts, const TTransversalsTable& table) {
  MateScratch scratch;
  return find_mates(scratch, starts, table);
}

OrthogonalityCharacteristic GetOrthogonalityCharacteristic(const TOrthogonalSquares& mates) {
  OrthogonalityCharacteristic result;
  const int count = mates.Count();
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

OdlsSearch::OdlsSearch() : OdlsSearch(default_isa_path()) {}
OdlsSearch::OdlsSearch(IsaPath path)
    : transversals_(path), mate_scratch_(std::make_unique<MateScratch>()) {}
OdlsSearch::~OdlsSearch() = default;
OdlsSearch::OdlsSearch(OdlsSearch&&) noexcept = default;
OdlsSearch& OdlsSearch::operator=(OdlsSearch&&) noexcept = default;

TOrthogonalSquares OdlsSearch::GetOdls(const TLatinSquare& square) {
  try {
    TTransversalStarts starts{};
    TTransversalCounts counts{};
    transversals_.GetTransversalsFast(square, true, starts, counts, table_);
    return find_mates(*mate_scratch_, starts, table_);
  } catch (const Cancelled&) {
    throw;  // a cancel request is no failure of the search to report
  } catch (const std::exception& e) {
    diag() << e.what() << '\n';
    PrintSquare(square, true);
    diag().flush();
  }
  return {};
}

TOrthogonalSquares OdlsSearch::FindMates(const TTransversalStarts& starts,
                                         const TTransversalsTable& table) {
  return find_mates(*mate_scratch_, starts, table);
}

TTransversalsTable OdlsSearch::GetDiagonalTransversalsByDlx(const TLatinSquare& square) {
  return diagonal_transversals_by_dlx(dlx_, square);
}

TOrthogonalSquares OdlsSearch::GetOdlsByDlx(const TLatinSquare& square) {
  const TTransversalsTable transversals = diagonal_transversals_by_dlx(dlx_, square);
  TOrthogonalSquares mates;
  if (transversals.Count() < kOrder) return mates;
  dlx_.reset(kCells);
  std::array<int, kOrder> cells{};
  for (const TTransversal& t : transversals.Items) {
    for (int r = 0; r < kOrder; ++r) cells[r] = kOrder * r + t[r];
    dlx_.add_row(cells);
  }
  const TDlxCoversArr covers = dlx_.solve();
  mates.Squares.reserve(covers.size());
  for (const TDlxCover& cover : covers)
    CoverToMateSquare(cover, transversals, mates.Squares.emplace_back(kOrder));
  return mates;
}

TTransversalsTable GetDiagonalTransversalsByDlx(const TLatinSquare& square) {
  BitCoverSolver dlx;
  return diagonal_transversals_by_dlx(dlx, square);
}

}  // namespace dlslab
