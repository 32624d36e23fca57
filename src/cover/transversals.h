#pragma once

#include <array>
#include <memory>
#include <vector>

#include "model/isa_path.h"
#include "model/types.h"

namespace dlslab {

/// A transversal of an order-10 square: entry r is the column of its cell in row r.
using TTransversal = std::array<int, kOrder>;
using TTransversalsArr = std::vector<TTransversal>;

/// A list of transversals whose storage is kept between fills, so that loops over many squares
/// don't allocate.
struct TTransversalsTable {
  std::vector<TTransversal> Items;

  [[nodiscard]] int Count() const { return static_cast<int>(Items.size()); }
};

/// Starts[k]..Starts[k+1]-1 are the list indices of the transversals through cell (0, k);
/// Starts[10] is the total.
using TTransversalStarts = std::array<int, kOrder + 1>;
/// Counts[k] = number of transversals through cell (0, k).
using TTransversalCounts = std::array<int, kOrder>;

/// What GetTransversals finds.
struct TransversalsResult {
  TTransversalStarts Starts{};
  TTransversalCounts Counts{};
  TTransversalsArr Transversals;
};

/// All transversals of the top-left 10 x 10 block of square (with diagonal_only, those with
/// exactly one main-diagonal and one anti-diagonal cell) in lexicographic order of
/// (t[0], ..., t[9]). A cell holding a value outside 0..9 is in no transversal; a square of
/// order below 10 has none. The plain row-by-row search, kept as the reference.
[[nodiscard]] TransversalsResult GetTransversals(const TLatinSquare& square, bool diagonal_only);

/// Enumerates transversals fast; owns its scratch (allocated on first use), so keep one per
/// thread and reuse it. Every instruction-set path gives the same lists.
class TransversalSearch {
 public:
  TransversalSearch();  ///< on default_isa_path()
  explicit TransversalSearch(IsaPath path);
  ~TransversalSearch();
  TransversalSearch(TransversalSearch&&) noexcept;
  TransversalSearch& operator=(TransversalSearch&&) noexcept;

  /// The same list, in the same order, as GetTransversals; table keeps its storage.
  void GetTransversalsFast(const TLatinSquare& square, bool diagonal_only,
                           TTransversalStarts& starts, TTransversalCounts& counts,
                           TTransversalsTable& table);
  /// The instruction-set path this search runs.
  [[nodiscard]] IsaPath path() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// True when some row r has a[r] == b[r] >= 0 (the two share a cell).
[[nodiscard]] bool TransversalsIntersect(const TTransversal& a, const TTransversal& b);
/// True when a[r] == b[r] for every row.
[[nodiscard]] bool TransversalsEqual(const TTransversal& a, const TTransversal& b);
/// A 10 x 10 square whose cell (r, c) counts the listed transversals through (r, c).
[[nodiscard]] TLatinSquare GetTransversalsCoverageMap(const TTransversalsTable& table);

}  // namespace dlslab
