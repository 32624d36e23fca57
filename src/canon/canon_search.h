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
  /// Number of arrangements that reached the comparison of rows 2..9 in the last run.
  [[nodiscard]] int leaves() const { return leaves_; }

 private:
  void assign(int position, int source);
  void unassign(int position);
  void descend(int j);
  void step(int j);
  void leaf();

  using Line = std::array<std::int8_t, kOrder>;

  std::array<Grid, 4> base_{};                     // the square under the four grid maps
  std::array<std::array<Line, kOrder>, 4> pos_{};  // pos_[q][r][v]: column of v in row r
  Grid best_{};
  bool exact_ = true;  // best_ is a whole candidate, not only a lowered row-1 bound

  // The arrangement being built: sigma_[position] = source line, sinv_ its inverse, -1 unset.
  Line sigma_{};
  Line sinv_{};
  int next_ = 0;  // positions 0..next_-1 of the lower half are set
  const std::int8_t* q_ = nullptr;
  const std::int8_t* pos_a_ = nullptr;
  int leaves_ = 0;
};

}  // namespace dlslab
