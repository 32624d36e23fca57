#pragma once

#include "canon/canon_search.h"
#include "canon/gray_permuts.h"
#include "canon/grid.h"
#include "collection/squares_collection.h"
#include "model/types.h"

namespace dlslab {

/// True when, at the first cell where the squares differ (row-major), a holds the smaller
/// value; false for equal squares. -1 compares like any other value.
[[nodiscard]] bool IsLexLess(const TLatinSquare& a, const TLatinSquare& b);

/// The canonical-form engine of order-10 squares. Two squares are equivalent when one turns
/// into the other by a simultaneous row-and-column arrangement that keeps mirror pairs of lines
/// together, one of four grid maps (identity, transpose, left-right flip, both) and a
/// relabelling of the values; the 15360 arrangement-and-map combinations are the candidates.
/// The object holds the engine's work squares and switches; it is not reentrant: use one per
/// thread. Squares of another order are not handled (see each operation).
class CanonEngine {
 public:
  CanonEngine() = default;  ///< the search on DefaultIsaPath()
  /// The branch and bound of the canonical form on the given instruction-set path.
  explicit CanonEngine(IsaPath path) : search_(path) {}

  /// The canonical form: the least candidate relabelled so that its first row reads 0..9.
  /// A square of another order than 10 comes back unchanged.
  [[nodiscard]] TLatinSquare GetCanonicalForm(const TLatinSquare& square);
  /// Whether the square is its own canonical form; false for a square that is not complete
  /// and of order 10, and for one whose first row is not 0..9.
  [[nodiscard]] bool IsCanonicalForm(const TLatinSquare& square);
  /// Every distinct square equivalent to the order-10 square, relabelled by its first row, in
  /// the order the candidates are walked (flip masks ascending, arrangements in swap-list order,
  /// then the square, its transpose and their left-right flips), each with the number of
  /// candidates that gave it. Empty for a square of another order.
  [[nodiscard]] TSquaresCollection GetIsomorphismClass(const TLatinSquare& square);
  /// The strong canonical form: the least candidate, in diagonal-first order, relabelled so
  /// that its main diagonal reads 0..9. A square of another order comes back unchanged.
  [[nodiscard]] TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square);

  /// The canonical form found by relabelling and comparing every candidate in enumeration
  /// order, with or without the flip test; the reference the branch and bound is checked
  /// against. The square must be of order 10.
  [[nodiscard]] TLatinSquare GetCanonicalFormByEnumeration(const TLatinSquare& square, bool prune);

  /// Canonical form of an order-10 grid (the batch entry point, no conversions).
  [[nodiscard]] const Grid& canonical_form(const Grid& square);
  /// The instruction-set path of the branch and bound.
  [[nodiscard]] IsaPath path() const { return search_.path(); }

 private:
  enum class Handler { kCF, kIsCF, kIsoClass, kSCF };

  void EnumerateEquivalents(const Grid& square);
  void VisitGridMaps();
  // A candidate is the arranged square under one of the four grid maps, by number.
  [[nodiscard]] bool flip_test_passes(int map) const;
  /// Cell (1, 0) of candidate `map` relabelled by its first row.
  [[nodiscard]] int label_of_cell_one_zero(int map) const;
  void on_candidate(int map);
  void OnCandidateCF(int map);
  void OnCandidateIsCF(int map);
  void OnCandidateIsoClass(int map);
  void OnCandidateSCF(int map);

  TGrayPermuts gray_permuts_;
  Handler handler_ = Handler::kCF;
  bool stop_ = false;
  bool result_flag_ = false;
  bool prune_ = false;

  Grid source_{};    // the input after the flips of the current mask
  Grid arranged_{};  // source_ after the current pair arrangement
  Grid best_{};
  TSquaresCollection* collection_ = nullptr;  // filled by GetIsomorphismClass
  CanonSearch search_;
};

/// GetCanonicalForm on a fresh engine.
[[nodiscard]] TLatinSquare GetCanonicalForm(const TLatinSquare& square);
/// IsCanonicalForm on a fresh engine.
[[nodiscard]] bool IsCanonicalForm(const TLatinSquare& square);
/// GetIsomorphismClass on a fresh engine.
[[nodiscard]] TSquaresCollection GetIsomorphismClass(const TLatinSquare& square);
/// GetStrongCanonicalForm on a fresh engine.
[[nodiscard]] TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square);

}  // namespace dlslab
