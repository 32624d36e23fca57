#pragma once

#include <array>
#include <cstdint>

#include "canon/grid.h"

namespace dlslab {

/// Finds the canonical form of an order-10 Latin square by branch and bound over the
/// symmetric arrangements, building row 1 of the relabelled candidates cell by cell, instead of
/// relabelling and comparing every one of the 15360 candidates. Scratch is fixed-size and owned
/// by the object; one object per thread.
class CanonSearch {
 public:
  /// Computes the least relabelled candidate of `square`, which must be a complete Latin square
  /// (every row and column a permutation of 0..9).
  void run(const Grid& square);
  /// The result of the last run.
  [[nodiscard]] const Grid& best() const { return best_; }
  /// Number of arrangements whose row 1 reached the bound in the last run.
  [[nodiscard]] int leaves() const { return leaves_; }

 private:
  void assign(int position, int source);
  void unassign(int position);
  void descend(int j);
  void step(int j);
  void leaf();
  void flush();

  using Line = std::array<std::int8_t, kOrder>;

  std::array<Grid, 4> base_{};                     // the square under the four grid maps
  std::array<std::array<Line, kOrder>, 4> pos_{};  // pos_[q][r][v]: column of v in row r
  // Row 0 is 0..9 and row 1 the bound every candidate is held to; rows 2..9 belong to the best
  // candidate with that row 1 when exact_, and are stale after the bound fell.
  Grid best_{};
  bool exact_ = true;

  // Arrangements whose row 1 equals the bound, not yet compared on rows 2..9.
  struct Pending {
    std::array<std::int8_t, kOrder> sigma;
    std::int8_t q;
  };
  static constexpr int kPendingCapacity = 16;
  std::array<Pending, kPendingCapacity> pending_{};
  int pending_count_ = 0;

  // The arrangement being built: sigma_[position] = source line, sinv_ its inverse, -1 unset.
  Line sigma_{};
  Line sinv_{};
  int next_ = 0;  // positions 0..next_-1 of the lower half are set
  int q_index_ = 0;
  const std::int8_t* q_ = nullptr;
  const std::int8_t* pos_a_ = nullptr;
  int leaves_ = 0;
};

}  // namespace dlslab
