// The canonical-form engine.
//
// The candidates of a square S are walked in a fixed order: for each flip mask m = 0..31
// (FlipPair k for every set bit k), the 120 arrangements of the five mirror pairs reached one
// from the next by a single exchange of neighbouring pairs (the Steinhaus-Johnson-Trotter swap
// list), and for each arrangement A the four grid maps A, transpose T, A flipped left to right,
// T flipped. A handler receives each candidate as produced: the relabelling comparison for the
// canonical form, the early-stopping test for IsCanonicalForm, the collection for the
// isomorphism class, the diagonal relabelling for the strong canonical form. The walk order
// matters only to the isomorphism class; the canonical form of a Latin square is found by
// branch and bound instead (canon_search.inc), which yields the same least candidate.

#include "canon/canonical_forms.h"

#include <algorithm>
#include <cassert>

#include "canon/strong_canonical_form.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"

namespace dlslab {
namespace {

constexpr int kN = kOrder;
constexpr int kPairs = kOrder / 2;

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

enum GridMap { kIdentity, kTransposed, kFlipped, kTransposedFlipped };

/// kGridMaps[g][cell]: the cell of the arranged square A that grid map g puts at `cell`:
/// A, its transpose T, A flipped left to right, T flipped left to right.
constexpr std::array<std::array<std::uint8_t, kN * kN>, 4> kGridMaps = [] {
  std::array<std::array<std::uint8_t, kN * kN>, 4> maps{};
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

// ---- The enumeration ------------------------------------------------------------------------

void CanonEngine::EnumerateEquivalents(const Grid& square) {
  if (static_cast<int>(gray_permuts_.size()) <= kPairs || gray_permuts_[kPairs].empty())
    BuildGraySwaps(gray_permuts_, kPairs);
  // Only the isomorphism class runs long enough to be watched; the forms are reported by the
  // work that asks for them.
  Progress& progress = CurrentProgress();
  const bool report = handler_ == Handler::kIsoClass;
  if (report)
    progress.Begin("Listing the isomorphism class",
                   (std::uint64_t{1} << kPairs) * (gray_permuts_[kPairs].size() + 1));
  for (unsigned mask = 0; mask < (1u << kPairs); ++mask) {
    progress.Poll();
    source_ = square;
    for (int k = 0; k < kPairs; ++k)
      if (mask & (1u << k)) flip_pair(source_, k);
    arranged_ = source_;
    VisitGridMaps();
    if (stop_) return;
    for (const TGrayPermutSwapItem& swap : gray_permuts_[kPairs]) {
      swap_pairs(arranged_, swap.first - 1, swap.second - 1);
      VisitGridMaps();
      if (stop_) return;
      if (report) {
        progress.Poll();
        progress.Advance();
      }
    }
  }
}

// The four grid maps are read through index tables instead of being built: candidate g has
// arranged_[kGridMaps[g][cell]] at `cell`. Only the isomorphism class builds candidates.
void CanonEngine::VisitGridMaps() {
  on_candidate(kIdentity);
  if (stop_) return;
  on_candidate(kTransposed);
  if (stop_) return;
  if (!prune_ || flip_test_passes(kFlipped)) {
    on_candidate(kFlipped);
    if (stop_) return;
  }
  if (!prune_ || flip_test_passes(kTransposedFlipped)) on_candidate(kTransposedFlipped);
}

// Cell (1, 0) of a flipped candidate relabelled by its first row is the position of its value
// in that first row (for A's flip: of A[1][9] in A's first row read from right to left). A flip
// whose value there exceeds the best's cannot be the least candidate.
bool CanonEngine::flip_test_passes(int map) const {
  return label_of_cell_one_zero(map) <= best_[kN];
}

int CanonEngine::label_of_cell_one_zero(int map) const {
  const std::uint8_t* at = kGridMaps[map].data();
  const int v = arranged_[at[kN]];
  if (v < 0) return v;
  int label = 0;
  for (int k = 0; k < kN; ++k)
    if (arranged_[at[k]] == v) label = k;
  return label;
}

void CanonEngine::on_candidate(int map) {
  switch (handler_) {
    case Handler::kCF:
      OnCandidateCF(map);
      break;
    case Handler::kIsCF:
      OnCandidateIsCF(map);
      break;
    case Handler::kIsoClass:
      OnCandidateIsoClass(map);
      break;
    case Handler::kSCF:
      OnCandidateSCF(map);
      break;
  }
}

// Relabels on the fly and stops at the first cell that is larger than the best's; only a
// smaller candidate is written, from the first differing cell on. The map is built afresh, so
// a value missing from the candidate's first row reads 0 whatever came before.
void CanonEngine::OnCandidateCF(int map) {
  const std::uint8_t* at = kGridMaps[map].data();
  // Most candidates lose at cell (1, 0) already; decide that before building the map.
  if (label_of_cell_one_zero(map) > best_[kN]) return;
  std::array<std::int8_t, kN> inverse{};
  for (int k = 0; k < kN; ++k)
    if (arranged_[at[k]] >= 0) inverse[arranged_[at[k]]] = static_cast<std::int8_t>(k);
  auto relabelled = [&](int cell) -> std::int8_t {
    const std::int8_t v = arranged_[at[cell]];
    return v < 0 ? v : inverse[v];
  };
  int cell = kN;
  for (; cell < kN * kN; ++cell) {
    const std::int8_t v = relabelled(cell);
    if (v > best_[cell]) return;
    if (v < best_[cell]) break;
  }
  if (handler_ == Handler::kIsCF) {
    if (cell < kN * kN) {
      stop_ = true;
      result_flag_ = false;
    }
    return;
  }
  for (; cell < kN * kN; ++cell) best_[cell] = relabelled(cell);
}

// The same comparison; a smaller candidate ends the walk instead of replacing the best.
void CanonEngine::OnCandidateIsCF(int map) { OnCandidateCF(map); }

void CanonEngine::OnCandidateIsoClass(int map) {
  Grid candidate;
  for (int cell = 0; cell < kN * kN; ++cell) candidate[cell] = arranged_[kGridMaps[map][cell]];
  const Grid relabelled = relabel_by_first_row(candidate);
  char digits[kN * kN];
  for (int i = 0; i < kN * kN; ++i)
    digits[i] = relabelled[i] < 0 ? '-' : static_cast<char>('0' + relabelled[i]);
  collection_->AddSquareString(std::string_view(digits, kN * kN), true, true);
}

// Relabels by the candidate's main diagonal on the fly and compares in diagonal-first order,
// empty cells last; only a smaller candidate is written out.
void CanonEngine::OnCandidateSCF(int map) {
  const std::uint8_t* at = kGridMaps[map].data();
  std::array<std::int8_t, kN> label{};
  for (int i = 0; i < kN; ++i) {
    const std::int8_t v = arranged_[at[i * kN + i]];
    if (v >= 0) label[v] = static_cast<std::int8_t>(i);
  }
  // Empty cells sort after every value.
  auto key = [](int v) { return v < 0 ? 100 : v; };
  int k = 0;
  for (; k < kN * kN; ++k) {
    const int cell = kDiagFirstCells[k];
    const std::int8_t v = arranged_[at[cell]];
    const int mine = key(v < 0 ? v : label[v]);
    const int best = key(best_[cell]);
    if (mine > best) return;
    if (mine < best) break;
  }
  if (k == kN * kN) return;  // equal
  for (int cell = 0; cell < kN * kN; ++cell) {
    const std::int8_t v = arranged_[at[cell]];
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
  handler_ = Handler::kCF;
  stop_ = false;
  prune_ = true;
  best_ = relabel_by_first_row(square);
  EnumerateEquivalents(square);
  return best_;
}

TLatinSquare CanonEngine::GetCanonicalForm(const TLatinSquare& square) {
  if (square.order() != kOrder) return square;
  return to_square(canonical_form(to_grid(square)));
}

TLatinSquare CanonEngine::GetCanonicalFormByEnumeration(const TLatinSquare& square, bool prune) {
  assert(square.order() == kOrder);
  const Grid grid = to_grid(square);
  handler_ = Handler::kCF;
  stop_ = false;
  prune_ = prune;
  best_ = relabel_by_first_row(grid);
  EnumerateEquivalents(grid);
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
  handler_ = Handler::kIsCF;
  prune_ = false;
  stop_ = false;
  result_flag_ = true;
  best_ = relabel_by_first_row(grid);  // the square itself, its first row being 0..9
  EnumerateEquivalents(grid);
  return result_flag_;
}

TSquaresCollection CanonEngine::GetIsomorphismClass(const TLatinSquare& square) {
  TSquaresCollection collection;
  if (square.order() != kOrder) return collection;
  handler_ = Handler::kIsoClass;
  stop_ = false;
  prune_ = false;
  collection_ = &collection;
  EnumerateEquivalents(to_grid(square));
  collection_ = nullptr;
  return collection;
}

TLatinSquare CanonEngine::GetStrongCanonicalForm(const TLatinSquare& square) {
  if (square.order() != kOrder) return square;
  const Grid grid = to_grid(square);
  handler_ = Handler::kSCF;
  stop_ = false;
  prune_ = false;  // the flip test assumes first-row relabelling
  best_ = grid;
  normalize_grid_by_main_diagonal(best_);
  EnumerateEquivalents(grid);
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

TSquaresCollection GetIsomorphismClass(const TLatinSquare& square) {
  CanonEngine engine;
  return engine.GetIsomorphismClass(square);
}

TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square) {
  CanonEngine engine;
  return engine.GetStrongCanonicalForm(square);
}

}  // namespace dlslab
