// The canonical-form engine.
//
// The candidates of a square S are walked in a fixed order: for each flip mask m = 0..31
// (FlipPair k for every set bit k), the 120 arrangements of the five mirror pairs reached one
// from the next by a single exchange of neighbouring pairs (the Steinhaus-Johnson-Trotter swap
// list), and for each arrangement A the four grid maps A, transpose T, A flipped left to right,
// T flipped. EnumerateEquivalents hands each candidate as produced to a visitor: the
// relabelling comparison for the canonical form, the early-stopping test for IsCanonicalForm,
// the diagonal relabelling for the strong canonical form, and outside the engine the listing of
// the isomorphism class (analysis/isomorphism_class.cpp). The walk order matters only to the
// isomorphism class; the canonical form of a Latin square is found by branch and bound instead
// (canon_search.inc), which yields the same least candidate.

#include "canon/canonical_forms.h"

#include <algorithm>
#include <cassert>

#include "canon/strong_canonical_form.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kN = kOrder;

void swap_rows(Grid& g, int a, int b) {
  std::swap_ranges(g.begin() + a * kN, g.begin() + (a + 1) * kN, g.begin() + b * kN);
}

void swap_columns(Grid& g, int a, int b) {
  for (int i = 0; i < kN; ++i) std::swap(g[i * kN + a], g[i * kN + b]);
}

/// Rows k and 9-k exchanged, then columns k and 9-k.
void flip_pair(Grid& g, int k) {
  swap_rows(g, k, kN - 1 - k);
  swap_columns(g, k, kN - 1 - k);
}

/// Mirror pairs a and b exchanged in rows and columns at once.
void swap_pairs(Grid& g, int a, int b) {
  swap_rows(g, a, b);
  swap_rows(g, kN - 1 - a, kN - 1 - b);
  swap_columns(g, a, b);
  swap_columns(g, kN - 1 - a, kN - 1 - b);
}

bool is_complete(const Grid& g) {
  return std::none_of(g.begin(), g.end(), [](std::int8_t v) { return v < 0; });
}

bool first_row_ascending(const Grid& g) {
  for (int k = 0; k < kN; ++k)
    if (g[k] != k) return false;
  return true;
}

}  // namespace

bool IsLexLess(const TLatinSquare& a, const TLatinSquare& b) {
  assert(a.order() == b.order());
  for (int i = 0; i < a.size(); ++i)
    if (a.data()[i] != b.data()[i]) return a.data()[i] < b.data()[i];
  return false;
}

// ---- The walk -------------------------------------------------------------------------------

enum GridMap { kIdentity, kTransposed, kFlipped, kTransposedFlipped };

// A, its transpose T, A flipped left to right, T flipped left to right.
const CanonEngine::GridMaps CanonEngine::kGridMaps = [] {
  CanonEngine::GridMaps maps{};
  for (int i = 0; i < kN; ++i) {
    for (int j = 0; j < kN; ++j) {
      maps[kIdentity][i * kN + j] = static_cast<std::uint8_t>(i * kN + j);
      maps[kTransposed][i * kN + j] = static_cast<std::uint8_t>(j * kN + i);
      maps[kFlipped][i * kN + j] = static_cast<std::uint8_t>(i * kN + kN - 1 - j);
      maps[kTransposedFlipped][i * kN + j] = static_cast<std::uint8_t>((kN - 1 - j) * kN + i);
    }
  }
  return maps;
}();

const TGrayPermutSwapItemsArr& CanonEngine::pair_swaps() {
  if (static_cast<int>(gray_permuts_.size()) <= kPairs || gray_permuts_[kPairs].empty())
    BuildGraySwaps(gray_permuts_, kPairs);
  return gray_permuts_[kPairs];
}

void CanonEngine::arrange_flips(const Grid& square, unsigned mask) {
  arranged_ = square;
  for (int k = 0; k < kPairs; ++k)
    if (mask & (1u << k)) flip_pair(arranged_, k);
}

void CanonEngine::swap_pairs(const TGrayPermutSwapItem& swap) {
  dlslab::swap_pairs(arranged_, swap.first - 1, swap.second - 1);
}

// ---- The visitors ---------------------------------------------------------------------------

// Relabels on the fly and stops at the first cell that is larger than the best's; only a
// smaller candidate is written, from the first differing cell on. The map is built afresh, so
// a value missing from the candidate's first row reads 0 whatever came before. Most candidates
// lose at cell (1, 0) already (for a flip: the position of A[1][9] in A's first row read from
// right to left), which is decided before the map is built.
bool CanonEngine::improve_first_row_form(const Equivalent& candidate) {
  if (candidate.first_row_label_of_cell_one_zero() > best_[kN]) return false;
  std::array<std::int8_t, kN> inverse{};
  for (int k = 0; k < kN; ++k)
    if (candidate[k] >= 0) inverse[candidate[k]] = static_cast<std::int8_t>(k);
  auto relabelled = [&](int cell) -> std::int8_t {
    const std::int8_t v = candidate[cell];
    return v < 0 ? v : inverse[v];
  };
  int cell = kN;
  for (; cell < kN * kN; ++cell) {
    const std::int8_t v = relabelled(cell);
    if (v > best_[cell]) return false;
    if (v < best_[cell]) break;
  }
  if (cell == kN * kN) return false;
  for (; cell < kN * kN; ++cell) best_[cell] = relabelled(cell);
  return true;
}

// The same comparison, without writing.
bool CanonEngine::below_first_row_form(const Equivalent& candidate) const {
  if (candidate.first_row_label_of_cell_one_zero() > best_[kN]) return false;
  std::array<std::int8_t, kN> inverse{};
  for (int k = 0; k < kN; ++k)
    if (candidate[k] >= 0) inverse[candidate[k]] = static_cast<std::int8_t>(k);
  for (int cell = kN; cell < kN * kN; ++cell) {
    const std::int8_t v = candidate[cell] < 0 ? candidate[cell] : inverse[candidate[cell]];
    if (v > best_[cell]) return false;
    if (v < best_[cell]) return true;
  }
  return false;
}

// Relabels by the candidate's main diagonal on the fly and compares in diagonal-first order,
// empty cells last; only a smaller candidate is written out.
void CanonEngine::improve_strong_form(const Equivalent& candidate) {
  std::array<std::int8_t, kN> label{};
  for (int i = 0; i < kN; ++i) {
    const std::int8_t v = candidate[i * kN + i];
    if (v >= 0) label[v] = static_cast<std::int8_t>(i);
  }
  // Empty cells sort after every value.
  auto key = [](int v) { return v < 0 ? 100 : v; };
  int k = 0;
  for (; k < kN * kN; ++k) {
    const int cell = kDiagFirstCells[k];
    const std::int8_t v = candidate[cell];
    const int mine = key(v < 0 ? v : label[v]);
    const int best = key(best_[cell]);
    if (mine > best) return;
    if (mine < best) break;
  }
  if (k == kN * kN) return;  // equal
  for (int cell = 0; cell < kN * kN; ++cell) {
    const std::int8_t v = candidate[cell];
    best_[cell] = v < 0 ? v : label[v];
  }
}

// ---- The operations -------------------------------------------------------------------------

const Grid& CanonEngine::canonical_form(const Grid& square) {
  if (is_latin_grid(square)) {
    search_.run(square);
    return search_.best();
  }
  // Not a Latin square (or not complete): every candidate through the comparison.
  best_ = relabel_by_first_row(square);
  EnumerateEquivalents(square, [this](const Equivalent& candidate) {
    improve_first_row_form(candidate);
    return true;
  });
  return best_;
}

TLatinSquare CanonEngine::GetCanonicalForm(const TLatinSquare& square) {
  if (square.order() != kOrder) return square;
  return to_square(canonical_form(to_grid(square)));
}

TLatinSquare CanonEngine::get_canonical_form_by_enumeration(const TLatinSquare& square) {
  assert(square.order() == kOrder);
  const Grid grid = to_grid(square);
  best_ = relabel_by_first_row(grid);
  EnumerateEquivalents(grid, [this](const Equivalent& candidate) {
    improve_first_row_form(candidate);
    return true;
  });
  return to_square(best_);
}

bool CanonEngine::IsCanonicalForm(const TLatinSquare& square) {
  if (square.order() != kOrder) return false;
  const Grid grid = to_grid(square);
  if (!is_complete(grid) || !first_row_ascending(grid)) return false;
  if (is_latin_grid(grid)) {
    search_.run(grid);
    return search_.best() == grid;
  }
  best_ = relabel_by_first_row(grid);  // the square itself, its first row being 0..9
  bool canonical = true;
  EnumerateEquivalents(grid, [this, &canonical](const Equivalent& candidate) {
    canonical = !below_first_row_form(candidate);
    return canonical;
  });
  return canonical;
}

TLatinSquare CanonEngine::GetStrongCanonicalForm(const TLatinSquare& square) {
  if (square.order() != kOrder) return square;
  const Grid grid = to_grid(square);
  best_ = grid;
  normalize_grid_by_main_diagonal(best_);
  EnumerateEquivalents(grid, [this](const Equivalent& candidate) {
    improve_strong_form(candidate);
    return true;
  });
  return to_square(best_);
}

TLatinSquare GetCanonicalForm(const TLatinSquare& square) {
  CanonEngine engine;
  return engine.GetCanonicalForm(square);
}

bool IsCanonicalForm(const TLatinSquare& square) {
  CanonEngine engine;
  return engine.IsCanonicalForm(square);
}

TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square) {
  CanonEngine engine;
  return engine.GetStrongCanonicalForm(square);
}

}  // namespace dlslab
