#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "canon/canonical_forms.h"
#include "collection/squares_collection.h"
#include "cover/odls.h"
#include "cover/transversals.h"
#include "model/types.h"

namespace dlslab {

/// True when b exchanges a's columns in pairs of rows: for every row k, the row m with
/// a[m] == b[k] has b[m] == a[k]. a must list ten different columns.
[[nodiscard]] bool TransversalsPairUp(const TTransversal& a, const TTransversal& b);
/// The inverse permutation: result[a[k]] = k.
[[nodiscard]] TTransversal InvertTransversal(const TTransversal& a);

/// Reaches diagonal Latin squares with orthogonal mates from an order-10 Latin square: for
/// the square and two of its conjugates, and three slices of each, every pair of disjoint
/// transversals that pair up is moved onto the two diagonals by one row-and-column
/// permutation; the canonical forms of the diagonal squares so made that have mates are
/// collected, with the canonical forms of their mates. Holds its engines and work squares;
/// one per thread.
class LsByDlsCanonizer {
 public:
  /// The canonical forms collected from the complete order-10 Latin square `square`, each
  /// once, in order of first addition. With skip_brown a Brown square gives nothing. With
  /// verbose, the steps and the growing count go to the diagnostics stream.
  [[nodiscard]] TSquaresCollection CanonizeLsByDls(const TLatinSquare& square, bool verbose,
                                                   bool skip_brown);
  /// The same result by the literal route: every pair of transversals is tested, and every
  /// new form gets an exact-cover mate search, however often it recurs.
  [[nodiscard]] TSquaresCollection canonize_ls_by_dls_literal(const TLatinSquare& square, bool verbose,
                                                          bool skip_brown);

  /// Runs CanonizeLsByDls (without the Brown skip) on every entry, entries added on the way
  /// included, and adds what it finds; with skip_big_family it stops once the collection has
  /// more than 20 entries. With verbose, a line per entry goes to the diagnostics stream.
  void CanonizeAllByDls(TSquaresCollection& collection, bool verbose, bool skip_big_family);
  /// The same by the literal route.
  void canonize_all_by_dls_literal(TSquaresCollection& collection, bool verbose, bool skip_big_family);

 private:
  TSquaresCollection canonize(const TLatinSquare& square, bool verbose, bool skip_brown,
                              bool literal);
  void canonize_all(TSquaresCollection& collection, bool verbose, bool skip_big_family,
                    bool literal);
  void CanonizeLsSlices(const TLatinSquare& square);
  void CollectDlsFromTransversalPairs(const TLatinSquare& square);
  void collect_from_pair(const TLatinSquare& square, int i, int j);
  /// Whether the DLS that pair (i, j) of table_ gives has a mate; order_[r] is the row of D
  /// that row r of the column-permuted square went to.
  bool has_mates(int i, int j, const std::array<int, kOrder>& order);
  void add_form_literal(const TLatinSquare& form);
  void add_form_fast(const TLatinSquare& form, int i, int j, const std::array<int, kOrder>& order);
  void add_result(const std::string& form);

  bool verbose_ = false;
  bool literal_ = false;
  TSquaresCollection* result_ = nullptr;

  TLatinSquare slice_;
  TLatinSquare scratch_;
  TransversalSearch transversals_;
  TTransversalsTable table_;
  // find_pairs_fast: the transversals t with t[0] = x and t[m] = y, by key (x * 10 + m) * 10 + y.
  std::vector<int> bucket_starts_;
  std::vector<int> bucket_items_;
  std::vector<int> candidates_;
  CanonEngine canon_;
  OdlsSearch odls_;
  // The fast route's mate test: the cells of each transversal of table_, and the diagonal
  // transversals of D grouped by their row-0 column.
  struct CellMask {
    std::uint64_t lo = 0;  // cells 0..63
    std::uint64_t hi = 0;  // cells 64..99
  };
  std::vector<CellMask> masks_;
  std::array<std::vector<TTransversal>, kOrder> groups_;
  TTransversalsTable diagonal_;
  // Forms without mates, and for a form with mates the canonical forms of its mates in
  // mate-search order, kept between forms and calls (they depend on the form only); dropped
  // when they grow too large.
  std::unordered_set<std::string> mateless_;
  std::unordered_map<std::string, std::vector<std::string>> mate_forms_;
};

}  // namespace dlslab
