#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "canon/canon_search.h"
#include "canon/gray_permuts.h"
#include "canon/grid.h"
#include "model/progress.h"
#include "model/types.h"

namespace dlslab {

/// True when, at the first cell where the squares differ (row-major), a holds the smaller
/// value; false for equal squares. -1 compares like any other value.
[[nodiscard]] bool IsLexLess(const TLatinSquare& a, const TLatinSquare& b);

/// One candidate of the walk over the equivalents: the arranged square under one of the four
/// grid maps, read cell by cell without being built.
class Equivalent {
 public:
  Equivalent(const Grid& arranged, const std::uint8_t* at) : arranged_(arranged.data()), at_(at) {}

  /// Cell `cell` (row-major) of the candidate.
  [[nodiscard]] std::int8_t operator[](int cell) const { return arranged_[at_[cell]]; }
  /// Cell (1, 0) of the candidate relabelled by its first row: the last position in the first
  /// row of the value there (negative for an empty cell).
  [[nodiscard]] int first_row_label_of_cell_one_zero() const {
    const int v = (*this)[kOrder];
    if (v < 0) return v;
    int label = 0;
    for (int k = 0; k < kOrder; ++k)
      if ((*this)[k] == v) label = k;
    return label;
  }
  /// The candidate as a grid.
  [[nodiscard]] Grid grid() const {
    Grid g;
    for (int cell = 0; cell < kOrder * kOrder; ++cell) g[cell] = (*this)[cell];
    return g;
  }

 private:
  const std::int8_t* arranged_;
  const std::uint8_t* at_;
};

/// The canonical-form engine of order-10 squares. Two squares are equivalent when one turns
/// into the other by a simultaneous row-and-column arrangement that keeps mirror pairs of lines
/// together, one of four grid maps (identity, transpose, left-right flip, both) and a
/// relabelling of the values; the 15360 arrangement-and-map combinations are the candidates.
/// The object holds the engine's work squares; it is not reentrant: use one per thread.
/// Squares of another order are not handled (see each operation).
class CanonEngine {
 public:
  CanonEngine() = default;  ///< the search on default_isa_path()
  /// The branch and bound of the canonical form on the given instruction-set path.
  explicit CanonEngine(IsaPath path) : search_(path) {}

  /// The canonical form: the least candidate relabelled so that its first row reads 0..9.
  /// A square of another order than 10 comes back unchanged.
  [[nodiscard]] TLatinSquare GetCanonicalForm(const TLatinSquare& square);
  /// Whether the square is its own canonical form; false for a square that is not complete
  /// and of order 10, and for one whose first row is not 0..9.
  [[nodiscard]] bool IsCanonicalForm(const TLatinSquare& square);
  /// The strong canonical form: the least candidate, in diagonal-first order, relabelled so
  /// that its main diagonal reads 0..9. A square of another order comes back unchanged.
  [[nodiscard]] TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square);

  /// The canonical form found by relabelling and comparing every candidate in walk order; the
  /// reference the branch and bound is checked against. The square must be of order 10.
  [[nodiscard]] TLatinSquare get_canonical_form_by_enumeration(const TLatinSquare& square);

  /// Canonical form of an order-10 grid (the batch entry point, no conversions).
  [[nodiscard]] const Grid& canonical_form(const Grid& square);
  /// The instruction-set path of the branch and bound.
  [[nodiscard]] IsaPath path() const { return search_.path(); }

  /// Calls visit(const Equivalent&) with each of the 15360 candidates of the grid, until it
  /// returns false: for each flip mask m = 0..31 (mirror pair k exchanged for every set bit k),
  /// the 120 arrangements of the five mirror pairs in swap-list order, and for each
  /// arrangement A the four grid maps A, its transpose T, A flipped left to right, T flipped.
  /// With a caption, the walk reports its progress under it.
  template <class Visit>
  void EnumerateEquivalents(const Grid& square, Visit&& visit, std::string_view caption = {});

 private:
  static constexpr int kPairs = kOrder / 2;
  using GridMaps = std::array<std::array<std::uint8_t, kOrder * kOrder>, 4>;
  /// kGridMaps[g][cell]: the cell of the arranged square that grid map g puts at `cell`.
  static const GridMaps kGridMaps;

  /// The swap list of the five pairs' arrangements, built on first use.
  const TGrayPermutSwapItemsArr& pair_swaps();
  /// arranged_ := square with the mirror pairs of mask exchanged.
  void arrange_flips(const Grid& square, unsigned mask);
  /// Applies one swap of the list to arranged_.
  void swap_pairs(const TGrayPermutSwapItem& swap);
  template <class Visit>
  bool visit_grid_maps(Visit& visit) const {
    for (const auto& at : kGridMaps)
      if (!visit(Equivalent(arranged_, at.data()))) return false;
    return true;
  }

  /// Whether the candidate relabelled by its first row is below best_, and if so, best_ := it.
  bool improve_first_row_form(const Equivalent& candidate);
  /// Whether the candidate relabelled by its first row is below best_ (best_ unchanged).
  [[nodiscard]] bool below_first_row_form(const Equivalent& candidate) const;
  /// The same for the relabelling by the main diagonal and the diagonal-first order.
  void improve_strong_form(const Equivalent& candidate);

  TGrayPermuts gray_permuts_;
  Grid arranged_{};  // the square after the flips and the current pair arrangement
  Grid best_{};
  CanonSearch search_;
};

template <class Visit>
void CanonEngine::EnumerateEquivalents(const Grid& square, Visit&& visit,
                                       std::string_view caption) {
  const TGrayPermutSwapItemsArr& swaps = pair_swaps();
  Progress& progress = current_progress();
  const bool report = !caption.empty();
  if (report)
    progress.begin(std::string(caption), (std::uint64_t{1} << kPairs) * (swaps.size() + 1));
  for (unsigned mask = 0; mask < (1u << kPairs); ++mask) {
    progress.poll();
    arrange_flips(square, mask);
    if (!visit_grid_maps(visit)) return;
    for (const TGrayPermutSwapItem& swap : swaps) {
      swap_pairs(swap);
      if (!visit_grid_maps(visit)) return;
      if (report) {
        progress.poll();
        progress.advance();
      }
    }
  }
}

/// GetCanonicalForm on a fresh engine.
[[nodiscard]] TLatinSquare GetCanonicalForm(const TLatinSquare& square);
/// IsCanonicalForm on a fresh engine.
[[nodiscard]] bool IsCanonicalForm(const TLatinSquare& square);
/// GetStrongCanonicalForm on a fresh engine.
[[nodiscard]] TLatinSquare GetStrongCanonicalForm(const TLatinSquare& square);

}  // namespace dlslab
