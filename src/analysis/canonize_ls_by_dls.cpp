// Diagonal squares from any Latin square of order 10.
//
// Two disjoint transversals a and b of a Latin square S "pair up" when b exchanges a's columns
// between the rows of five row pairs {k, m}: b[k] = a[m] and b[m] = a[k]. Permuting S's
// columns by a puts a on the main diagonal (D[r][k] = S[r][a[k]]); b then sits in cells
// (k, pi(k)) for a fixed-point-free involution pi, and one permutation applied to rows and
// columns alike (which keeps the main diagonal) moves those cells onto the anti-diagonal. D is
// then a DLS. Its canonical form is kept when it has an orthogonal diagonal mate, together with
// the canonical forms of the mates. This is tried on the square and its conjugates 2 and 5,
// each as it is and with its rows and its columns inverted, nine squares in a fixed order.
//
// Result order: forms in order of first addition, pairs (i, j) of the lexicographic
// transversal list in ascending order, mates in exact-cover order.
//
// The fast route keeps the result and the order and saves work three ways:
// - Pairs. Rather than testing all i < j, the partner candidates of a come from buckets keyed
//   by (t[0], m, t[m]): a partner b pairs row 0 with the row m where a[m] = b[0], so
//   b[0] = a[m] and b[m] = a[0]. That leaves about a tenth of the pairs, sorted by j and then
//   tested in full.
// - Mates are tested without a transversal search. D is S with its rows and columns permuted,
//   so the transversals of D are those of S moved along; the diagonal ones are those that meet
//   a (now the main diagonal) in one cell and b (the anti-diagonal) in one cell. Filtering S's
//   list by two cell-mask intersections and handing it to the mate search tells whether D, and
//   so its canonical form, has a mate. Almost no D has one; those forms are dropped, as the
//   literal route drops them after the exact-cover search finds nothing.
// - Forms are remembered: mateless ones, and for the others their mates' canonical forms in
//   exact-cover order (the order the result follows), so a form that recurs (in another pair,
//   slice or call) costs a lookup and the exact cover runs once per form with mates.
#include "analysis/canonize_ls_by_dls.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "model/bit_count.h"
#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"
#include "transform/square_properties.h"
#include "transform/transformations.h"

namespace dlslab {
namespace {

constexpr int kBuckets = kOrder * kOrder * kOrder;
// Bounds on the remembered forms (about 200 bytes each).
constexpr std::size_t kMaxMateless = 1 << 18;
constexpr std::size_t kMaxMateForms = 1 << 15;

constexpr int bucket_key(int first, int row, int value) {
  return (first * kOrder + row) * kOrder + value;
}

/// TransversalsPairUp(a, b) && !TransversalsIntersect(a, b), with a's inverse at hand and
/// without early exits.
bool pair_up_apart(const TTransversal& a, const TTransversal& inverse, const TTransversal& b) {
  bool ok = true;
  for (int k = 0; k < kOrder; ++k) ok &= (b[inverse[b[k]]] == a[k]) & (b[k] != a[k]);
  return ok;
}

}  // namespace

bool TransversalsPairUp(const TTransversal& a, const TTransversal& b) {
  for (int k = 0; k < kOrder; ++k) {
    int m = 0;
    while (m < kOrder - 1 && a[m] != b[k]) ++m;
    if (b[m] != a[k]) return false;
  }
  return true;
}

TTransversal InvertTransversal(const TTransversal& a) {
  TTransversal inverse{};
  for (int k = 0; k < kOrder; ++k) inverse[a[k]] = k;
  return inverse;
}

TSquaresCollection LsByDlsCanonizer::CanonizeLsByDls(const TLatinSquare& square, bool verbose,
                                                     bool skip_brown) {
  return canonize(square, verbose, skip_brown, false);
}

TSquaresCollection LsByDlsCanonizer::canonize_ls_by_dls_literal(const TLatinSquare& square,
                                                            bool verbose, bool skip_brown) {
  return canonize(square, verbose, skip_brown, true);
}

void LsByDlsCanonizer::CanonizeAllByDls(TSquaresCollection& collection, bool verbose,
                                        bool skip_big_family) {
  canonize_all(collection, verbose, skip_big_family, false);
}

void LsByDlsCanonizer::canonize_all_by_dls_literal(TSquaresCollection& collection, bool verbose,
                                               bool skip_big_family) {
  canonize_all(collection, verbose, skip_big_family, true);
}

TSquaresCollection LsByDlsCanonizer::canonize(const TLatinSquare& square, bool verbose,
                                              bool skip_brown, bool literal) {
  TSquaresCollection result(literal ? TSquaresCollection::Lookup::kLinear
                                    : TSquaresCollection::Lookup::kHashed);
  if (skip_brown && IsBrownSquare(square)) {
    if (verbose) diag() << "Brown square was skipped" << '\n' << std::flush;
    return result;
  }
  verbose_ = verbose;
  literal_ = literal;
  result_ = &result;
  if (verbose) diag() << "  parastrof 1..." << '\n' << std::flush;
  CanonizeLsSlices(square);
  if (verbose) diag() << "  parastrof 2..." << '\n' << std::flush;
  CanonizeLsSlices(GetParastrof1(square));
  if (verbose) diag() << "  parastrof 5..." << '\n' << std::flush;
  CanonizeLsSlices(GetParastrof2(square));
  result_ = nullptr;
  return result;
}

void LsByDlsCanonizer::canonize_all(TSquaresCollection& collection, bool verbose,
                                    bool skip_big_family, bool literal) {
  Progress& progress = current_progress();
  for (int i = 0; i < collection.Count(); ++i) {
    progress.begin("Canonize LS by DLS", static_cast<std::uint64_t>(collection.Count()));
    progress.set(static_cast<std::uint64_t>(i));
    if (verbose)
      diag() << "Square " << i << " from " << collection.Count() << " canonizing..." << '\n'
             << std::flush;
    const TSquaresCollection found = canonize(collection.get_square(i), verbose, false, literal);
    collection.AddCollection(found);
    if (skip_big_family && collection.Count() > 20) {
      if (verbose) diag() << "Canonization of the big family skipped..." << '\n' << std::flush;
      return;
    }
  }
}

void LsByDlsCanonizer::CanonizeLsSlices(const TLatinSquare& square) {
  if (verbose_) diag() << "    slice 1..." << '\n' << std::flush;
  CollectDlsFromTransversalPairs(square);
  if (verbose_) diag() << "    slice 2..." << '\n' << std::flush;
  GetStringInverseSquare(slice_, square);
  CollectDlsFromTransversalPairs(slice_);
  if (verbose_) diag() << "    slice 3..." << '\n' << std::flush;
  GetColumnInverseSquare(slice_, square);
  CollectDlsFromTransversalPairs(slice_);
}

void LsByDlsCanonizer::CollectDlsFromTransversalPairs(const TLatinSquare& square) {
  TTransversalStarts starts{};
  TTransversalCounts counts{};
  transversals_.GetTransversalsFast(square, false, starts, counts, table_);
  const int count = table_.Count();
  const std::vector<TTransversal>& items = table_.Items;
  Progress& progress = current_progress();

  if (literal_) {
    for (int i = 0; i < count; ++i) {
      progress.poll();
      for (int j = i + 1; j < count; ++j)
        if (TransversalsPairUp(items[i], items[j]) && !TransversalsIntersect(items[i], items[j]))
          collect_from_pair(square, i, j);
    }
    return;
  }

  masks_.resize(count);
  for (int j = 0; j < count; ++j) {
    CellMask mask;
    for (int r = 0; r < kOrder; ++r) {
      const int cell = kOrder * r + items[j][r];
      if (cell < 64)
        mask.lo |= std::uint64_t{1} << cell;
      else
        mask.hi |= std::uint64_t{1} << (cell - 64);
    }
    masks_[j] = mask;
  }
  bucket_starts_.assign(kBuckets + 1, 0);
  for (int j = 0; j < count; ++j)
    for (int m = 1; m < kOrder; ++m) ++bucket_starts_[bucket_key(items[j][0], m, items[j][m]) + 1];
  for (int key = 0; key < kBuckets; ++key) bucket_starts_[key + 1] += bucket_starts_[key];
  bucket_items_.resize(static_cast<std::size_t>(bucket_starts_[kBuckets]));
  candidates_.assign(bucket_starts_.begin(), bucket_starts_.end() - 1);  // fill positions
  for (int j = 0; j < count; ++j)
    for (int m = 1; m < kOrder; ++m)
      bucket_items_[candidates_[bucket_key(items[j][0], m, items[j][m])]++] = j;

  for (int i = 0; i < count; ++i) {
    progress.poll();
    const TTransversal& a = items[i];
    candidates_.clear();
    for (int m = 1; m < kOrder; ++m) {
      const int key = bucket_key(a[m], m, a[0]);
      const int* first = bucket_items_.data() + bucket_starts_[key];
      const int* last = bucket_items_.data() + bucket_starts_[key + 1];
      for (const int* j = std::upper_bound(first, last, i); j != last; ++j)
        candidates_.push_back(*j);
    }
    std::sort(candidates_.begin(), candidates_.end());
    const TTransversal inverse = InvertTransversal(a);
    for (const int j : candidates_)
      if (pair_up_apart(a, inverse, items[j])) collect_from_pair(square, i, j);
  }
}

void LsByDlsCanonizer::collect_from_pair(const TLatinSquare& square, int i, int j) {
  const TTransversal& a = table_.Items[i];
  const TTransversal& b = table_.Items[j];
  TLatinSquare& d = scratch_;
  if (d.order() != kOrder) d = TLatinSquare(kOrder);
  for (int r = 0; r < kOrder; ++r)
    for (int k = 0; k < kOrder; ++k) d[r][k] = square[r][a[k]];
  const TTransversal inverse = InvertTransversal(a);
  std::array<int, kOrder> w{};
  for (int k = 0; k < kOrder; ++k) w[k] = d[k][inverse[b[k]]];
  std::array<int, kOrder> at{};  // at[x]: the row (and column) now at position x
  for (int x = 0; x < kOrder; ++x) at[x] = x;
  for (int k = 0; k < kOrder; ++k) {
    int p = 0;
    while (p < kOrder && d[k][p] != w[k]) ++p;
    if (p == kOrder) continue;  // only when the square is not Latin
    SwapColumns(d, p, kOrder - 1 - k);
    SwapRows(d, p, kOrder - 1 - k);
    std::swap(w[p], w[kOrder - 1 - k]);
    std::swap(at[p], at[kOrder - 1 - k]);
  }
  if (!IsDiagonalLatin(d) && verbose_) {
    diag() << "INCORRECT: " << '\n';
    PrintSquare(d, true);
    diag() << std::flush;
  }
  const TLatinSquare form = canon_.GetCanonicalForm(d);
  if (literal_) {
    add_form_literal(form);
    return;
  }
  std::array<int, kOrder> order{};
  for (int x = 0; x < kOrder; ++x) order[at[x]] = x;
  add_form_fast(form, i, j, order);
}

bool LsByDlsCanonizer::has_mates(int i, int j, const std::array<int, kOrder>& order) {
  const CellMask on_main = masks_[i];
  const CellMask on_anti = masks_[j];
  const TTransversal inverse = InvertTransversal(table_.Items[i]);
  for (std::vector<TTransversal>& group : groups_) group.clear();
  CellMask covered;
  for (int x = 0; x < table_.Count(); ++x) {
    const CellMask m = masks_[x];
    if (bit_count(m.lo & on_main.lo) + bit_count(m.hi & on_main.hi) != 1 ||
        bit_count(m.lo & on_anti.lo) + bit_count(m.hi & on_anti.hi) != 1)
      continue;
    covered.lo |= m.lo;
    covered.hi |= m.hi;
    // Cell (r, c) of S is cell (order[r], order[inverse[c]]) of D.
    const TTransversal& t = table_.Items[x];
    TTransversal moved{};
    for (int r = 0; r < kOrder; ++r) moved[order[r]] = order[inverse[t[r]]];
    groups_[moved[0]].push_back(moved);
  }
  // A mate's value classes are disjoint diagonal transversals covering every cell.
  constexpr std::uint64_t kHighCells = (std::uint64_t{1} << (kOrder * kOrder - 64)) - 1;
  if (covered.lo != ~std::uint64_t{0} || covered.hi != kHighCells) return false;
  TTransversalStarts starts{};
  diagonal_.Items.clear();
  for (int k = 0; k < kOrder; ++k) {
    starts[k] = static_cast<int>(diagonal_.Items.size());
    diagonal_.Items.insert(diagonal_.Items.end(), groups_[k].begin(), groups_[k].end());
  }
  starts[kOrder] = static_cast<int>(diagonal_.Items.size());
  return odls_.FindMates(starts, diagonal_).Count() > 0;
}

void LsByDlsCanonizer::add_result(const std::string& form) {
  result_->AddSquareString(form, true, true);
}

void LsByDlsCanonizer::add_form_literal(const TLatinSquare& form) {
  if (result_->IndexOfSquare(form) >= 0) return;
  const TOrthogonalSquares mates = odls_.GetOdlsByDlx(form);
  if (mates.Count() == 0) return;
  result_->AddSquare(form, true, true);
  for (int m = 0; m < mates.Count(); ++m) {
    result_->AddSquare(canon_.GetCanonicalForm(mates.Squares[m]), true, true);
    if (verbose_) diag() << "      ODLS unique CFs: " << result_->Count() << '\n' << std::flush;
  }
}

void LsByDlsCanonizer::add_form_fast(const TLatinSquare& form, int i, int j,
                                     const std::array<int, kOrder>& order) {
  std::string key = SquareToString(form, false);
  if (result_->IndexOfString(key) >= 0 || mateless_.count(key) != 0) return;
  if (mate_forms_.find(key) == mate_forms_.end() && !has_mates(i, j, order)) {
    if (mateless_.size() >= kMaxMateless) mateless_.clear();
    mateless_.insert(std::move(key));
    return;
  }
  auto known = mate_forms_.find(key);
  if (known == mate_forms_.end()) {
    const TOrthogonalSquares mates = odls_.GetOdlsByDlx(form);
    std::vector<std::string> forms;
    forms.reserve(mates.Count());
    for (int m = 0; m < mates.Count(); ++m)
      forms.push_back(SquareToString(canon_.GetCanonicalForm(mates.Squares[m]), false));
    if (mate_forms_.size() >= kMaxMateForms) mate_forms_.clear();
    known = mate_forms_.emplace(std::move(key), std::move(forms)).first;
  }
  if (known->second.empty()) return;  // the mate tests disagree; the exact cover decides
  add_result(known->first);
  for (const std::string& mate_form : known->second) {
    add_result(mate_form);
    if (verbose_) diag() << "      ODLS unique CFs: " << result_->Count() << '\n' << std::flush;
  }
}

}  // namespace dlslab
