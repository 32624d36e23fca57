#pragma once

#include <memory>

#include "canon/grid.h"
#include "model/isa_path.h"

// The canonical-form searches, one per instruction-set path (canon_search_<path>.cpp).
namespace dlslab::canon_kernels {

/// One branch-and-bound search and its scratch.
class Kernel {
 public:
  virtual ~Kernel() = default;
  /// Computes the least relabelled candidate of the complete Latin square.
  virtual void Run(const Grid& square) = 0;
  /// The result of the last run.
  [[nodiscard]] virtual const Grid& Best() const = 0;
  /// Number of arrangements whose row 1 reached the bound in the last run.
  [[nodiscard]] virtual int Leaves() const = 0;
};

namespace scalar {
[[nodiscard]] std::unique_ptr<Kernel> Make();
}
namespace avx2 {
[[nodiscard]] std::unique_ptr<Kernel> Make();
}
namespace avx512 {
[[nodiscard]] std::unique_ptr<Kernel> Make();
}

/// The search of a path.
[[nodiscard]] std::unique_ptr<Kernel> Make(IsaPath path);

}  // namespace dlslab::canon_kernels
