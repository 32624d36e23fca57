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
// branch and bound instead (canon_search.cpp), which yields the same least candidate.

#include "canon/canonical_forms.h"

#include <algorithm>
#include <cassert>

#include "canon/strong_canonical_form.h"
#include "model/ls_data_structs.h"

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

void transpose(const Grid& src, Grid& dest) {
  for (int i = 0; i < kN; ++i)
    for (int j = 0; j < kN; ++j) dest[i * kN + j] = src[j * kN + i];
}

void flip_horizontal(const Grid& src, Grid& dest) {
  for (int i = 0; i < kN; ++i)
    for (int j = 0; j < kN; ++j) dest[i * kN + j] = src[i * kN + kN - 1 - j];
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

// ---- The enumeration ------------------------------------------------------------------------

void CanonEngine::EnumerateEquivalents(const Grid& square) {
  if (static_cast<int>(gray_permuts_.size()) <= kPairs || gray_permuts_[kPairs].empty())
    BuildGraySwaps(gray_permuts_, kPairs);
  for (unsigned mask = 0; mask < (1u << kPairs); ++mask) {
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
    }
  }
}

void CanonEngine::VisitGridMaps() {
  on_candidate(arranged_);
  if (stop_) return;
  transpose(arranged_, transposed_);
  on_candidate(transposed_);
  if (stop_) return;
  if (!prune_ || flip_test_passes(arranged_)) {
    flip_horizontal(arranged_, flipped_);
    on_candidate(flipped_);
    if (stop_) return;
  }
  if (!prune_ || flip_test_passes(transposed_)) {
    flip_horizontal(transposed_, flipped_);
    on_candidate(flipped_);
  }
}

// Cell (1, 0) of the left-right flip of g, relabelled by the flip's first row, is the position
// of g[1][9] in g's first row read from right to left. A flip whose value there exceeds the
// best's cannot be the least candidate.
bool CanonEngine::flip_test_passes(const Grid& g) const {
  const int v = g[kN + kN - 1];
  int label = v < 0 ? -1 : 0;
  if (v >= 0)
    for (int k = 0; k < kN; ++k)
      if (g[kN - 1 - k] == v) label = k;
  return label <= best_[kN];
}

void CanonEngine::on_candidate(const Grid& candidate) {
  switch (handler_) {
    case Handler::kCF:
      OnCandidateCF(candidate);
      break;
    case Handler::kIsCF:
      OnCandidateIsCF(candidate);
      break;
    case Handler::kIsoClass:
      OnCandidateIsoClass(candidate);
      break;
    case Handler::kSCF:
      OnCandidateSCF(candidate);
      break;
  }
}

// Relabels on the fly and stops at the first cell that is larger than the best's; only a
// smaller candidate is written, from the first differing cell on.
void CanonEngine::OnCandidateCF(const Grid& c) {
  std::array<std::int8_t, kN> inverse{};
  for (int k = 0; k < kN; ++k)
    if (c[k] >= 0) inverse[c[k]] = static_cast<std::int8_t>(k);
  int cell = kN;
  for (; cell < kN * kN; ++cell) {
    const std::int8_t v = c[cell] < 0 ? c[cell] : inverse[c[cell]];
    if (v > best_[cell]) return;
    if (v < best_[cell]) break;
  }
  for (; cell < kN * kN; ++cell) best_[cell] = c[cell] < 0 ? c[cell] : inverse[c[cell]];
}

void CanonEngine::OnCandidateIsCF(const Grid& c) {
  work_ = relabel_by_first_row(c);
  if (grid_less(work_, best_)) {
    stop_ = true;
    result_flag_ = false;
  }
}

void CanonEngine::OnCandidateIsoClass(const Grid& c) {
  work_ = relabel_by_first_row(c);
  char digits[kN * kN];
  for (int i = 0; i < kN * kN; ++i)
    digits[i] = work_[i] < 0 ? '-' : static_cast<char>('0' + work_[i]);
  collection_->AddSquareString(std::string_view(digits, kN * kN), true, true);
}

void CanonEngine::OnCandidateSCF(const Grid& c) {
  work_ = c;
  normalize_grid_by_main_diagonal(work_);
  if (diag_less(work_, best_)) best_ = work_;
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
  best_ = grid;
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
