#include "fill/switch_chain.h"

#include <bit>
#include <cassert>

#include "fill/random_search_v3.h"

// A cycle switch exchanges two values along a cycle and leaves a Latin square Latin:
//
//   row cycle, rows r1 and r2 from column c: the columns c -> (column of S[r2][c] in row r1)
//     -> ... back to c; in each of them the two rows' values trade places;
//   column cycle, columns c1 and c2 from row r: the same with rows and columns exchanged;
//   symbol cycle, symbols u and v from row r: the rows r -> (row of u in the column of v in
//     row r) -> ... back to r; in each of them u and v trade places.
//
// Every line keeps its set of values, so the square stays Latin; a switch is kept only when
// both diagonals still hold ten distinct values. Only the diagonal cells of the two lines (or
// of the two symbols) can change, so that test looks at those alone: for a row cycle the main
// diagonal keeps its values exactly when the new values of (r1, r1) and (r2, r2) are the two
// old ones, and for a symbol cycle exactly when the cycle holds both or neither of the rows
// where u and v stand on it.
//
// A cycle through all ten columns (rows, or the rows of both symbols) is drawn again: it only
// exchanges two whole rows or columns, or renames two symbols, which gives a square of the
// same Latin structure, and for renamed symbols the same mates and the same canonical form.
// About one draw in ten is kept; more than a quarter of the draws are such whole cycles.
//
// A draw is one value below 3 * 90 * 10 (the kind, the ordered pair, the start) from the
// run's splitmix64 stream; a rejected draw is followed by the next one from the same stream,
// so the k-th square of a run depends on its run's seed alone. The square is kept four ways
// (symbol by row and column, symbol by column and row, column by row and symbol, row by column
// and symbol), so that each step of a cycle is one look-up and a column cycle is a row cycle of
// the transpose.
namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;
constexpr std::uint32_t kAllLines = (1u << kOrder) - 1;
constexpr std::uint32_t kPairs = kOrder * (kOrder - 1);
constexpr std::uint32_t kDraws = 3 * kPairs * kOrder;

constexpr std::uint32_t bit(int v) { return 1u << v; }
constexpr bool has(std::uint32_t lines, int line) { return (lines >> line & 1u) != 0; }

}  // namespace

SwitchChain::SwitchChain(IsaPath path) : path_(path) {}

void SwitchChain::square(std::uint64_t seed, TLatinSquare& square) {
  assert(seed < kSwitchRuns * kSwitchRunLength && square.order() == kOrder);
  const std::uint64_t run = seed / kSwitchRunLength;
  const std::uint64_t switches = seed % kSwitchRunLength + 1;
  if (run != run_ || switches < switches_) start_run(run);
  for (; switches_ < switches; ++switches_) switch_once();
  int* out = square.data();
  for (int i = 0; i < kCells; ++i) out[i] = cell_[i];
}

void SwitchChain::start_run(std::uint64_t run) {
  const TLatinSquare start = random_search_v3_square(static_cast<std::uint32_t>(run), path_);
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      const int v = start[r][c];
      cell_[r * kOrder + c] = static_cast<std::uint8_t>(v);
      by_column_[c * kOrder + r] = static_cast<std::uint8_t>(v);
      column_[r * kOrder + v] = static_cast<std::uint8_t>(c);
      row_[c * kOrder + v] = static_cast<std::uint8_t>(r);
    }
  }
  index_diagonals();
  random_ = Splitmix(run);
  run_ = run;
  switches_ = 0;
}

void SwitchChain::index_diagonals() {
  for (int i = 0; i < kOrder; ++i) {
    main_row_[cell_[i * kOrder + i]] = static_cast<std::uint8_t>(i);
    anti_row_[cell_[i * kOrder + kOrder - 1 - i]] = static_cast<std::uint8_t>(i);
  }
}

void SwitchChain::switch_once() {
  for (;;) {
    const std::uint32_t draw = random_.below(kDraws);
    const std::uint32_t kind = draw / (kPairs * kOrder);
    const std::uint32_t pair = draw / kOrder % kPairs;
    const int start = static_cast<int>(draw % kOrder);
    const int a = static_cast<int>(pair / (kOrder - 1));
    int b = static_cast<int>(pair % (kOrder - 1));
    b += b >= a ? 1 : 0;
    const bool kept = kind == 0   ? try_line_cycle(cell_, column_, by_column_, row_, a, b, start)
                      : kind == 1 ? try_line_cycle(by_column_, row_, cell_, column_, a, b, start)
                                  : try_symbol_cycle(a, b, start);
    if (kept) break;
  }
  index_diagonals();
}

// A line cycle read in one of two ways: lines and positions are rows and columns, or columns
// and rows. `lines` holds the symbols line by line and `positions` the same cells position by
// position; `place` gives a symbol's position in a line and `line_of` its line at a position.
// The diagonal cells of line l sit at positions l and 9 - l either way.
bool SwitchChain::try_line_cycle(Grid& lines, Grid& place, Grid& positions, Grid& line_of, int l1,
                                 int l2, int start) {
  std::uint8_t* line1 = &lines[l1 * kOrder];
  std::uint8_t* line2 = &lines[l2 * kOrder];
  std::uint32_t cycle = 0;
  int p = start;
  do {
    cycle |= bit(p);
    p = place[l1 * kOrder + line2[p]];
  } while (p != start);
  if (cycle == kAllLines) return false;
  // The diagonal cells of the two lines, before and after.
  const int a1 = kOrder - 1 - l1, a2 = kOrder - 1 - l2;
  const std::uint32_t main_after =
      bit(has(cycle, l1) ? line2[l1] : line1[l1]) | bit(has(cycle, l2) ? line1[l2] : line2[l2]);
  const std::uint32_t anti_after =
      bit(has(cycle, a1) ? line2[a1] : line1[a1]) | bit(has(cycle, a2) ? line1[a2] : line2[a2]);
  if (main_after != (bit(line1[l1]) | bit(line2[l2])) ||
      anti_after != (bit(line1[a1]) | bit(line2[a2])))
    return false;
  for (std::uint32_t m = cycle; m != 0; m &= m - 1) {
    const int at = std::countr_zero(m);
    const std::uint8_t x = line1[at], y = line2[at];
    line1[at] = y;
    line2[at] = x;
    positions[at * kOrder + l1] = y;
    positions[at * kOrder + l2] = x;
    place[l1 * kOrder + y] = static_cast<std::uint8_t>(at);
    place[l2 * kOrder + x] = static_cast<std::uint8_t>(at);
    line_of[at * kOrder + x] = static_cast<std::uint8_t>(l2);
    line_of[at * kOrder + y] = static_cast<std::uint8_t>(l1);
  }
  return true;
}

bool SwitchChain::try_symbol_cycle(int u, int v, int start) {
  std::uint32_t rows = 0;
  int r = start;
  do {
    rows |= bit(r);
    r = row_[column_[r * kOrder + v] * kOrder + u];
  } while (r != start);
  if (rows == kAllLines) return false;
  if (has(rows, main_row_[u]) != has(rows, main_row_[v]) ||
      has(rows, anti_row_[u]) != has(rows, anti_row_[v]))
    return false;
  for (std::uint32_t m = rows; m != 0; m &= m - 1) {
    const int row = std::countr_zero(m);
    const std::uint8_t cu = column_[row * kOrder + u], cv = column_[row * kOrder + v];
    cell_[row * kOrder + cu] = static_cast<std::uint8_t>(v);
    cell_[row * kOrder + cv] = static_cast<std::uint8_t>(u);
    by_column_[cu * kOrder + row] = static_cast<std::uint8_t>(v);
    by_column_[cv * kOrder + row] = static_cast<std::uint8_t>(u);
    column_[row * kOrder + u] = cv;
    column_[row * kOrder + v] = cu;
    row_[cu * kOrder + v] = static_cast<std::uint8_t>(row);
    row_[cv * kOrder + u] = static_cast<std::uint8_t>(row);
  }
  return true;
}

TLatinSquare switch_chain_square(std::uint64_t seed) {
  SwitchChain chain;
  TLatinSquare square(kOrder);
  chain.square(seed, square);
  return square;
}

}  // namespace dlslab
