#pragma once

#include <memory>

#include "canon/grid.h"
#include "model/isa_path.h"

namespace dlslab {

namespace canon_kernels {
class Kernel;
}

/// Finds the canonical form of an order-10 Latin square by branch and bound over the
/// symmetric arrangements, building row 1 of the relabelled candidates cell by cell, instead of
/// relabelling and comparing every one of the 15360 candidates. Scratch is fixed-size and owned
/// by the object; one object per thread. Every instruction-set path finds the same form.
class CanonSearch {
 public:
  CanonSearch();  ///< on default_isa_path()
  explicit CanonSearch(IsaPath path);
  ~CanonSearch();
  CanonSearch(CanonSearch&&) noexcept;
  CanonSearch& operator=(CanonSearch&&) noexcept;

  /// Computes the least relabelled candidate of `square`, which must be a complete Latin square
  /// (every row and column a permutation of 0..9).
  void run(const Grid& square);
  /// The result of the last run.
  [[nodiscard]] const Grid& best() const;
  /// Number of arrangements whose row 1 reached the bound in the last run.
  [[nodiscard]] int leaves() const;
  /// The instruction-set path this search runs.
  [[nodiscard]] IsaPath path() const { return path_; }

 private:
  IsaPath path_;
  std::unique_ptr<canon_kernels::Kernel> kernel_;
};

}  // namespace dlslab
