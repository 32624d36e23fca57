#pragma once

#include <memory>

#include "canon/grid.h"
#include "model/isa_dispatch.h"

// The canonical-form searches, one per instruction-set path (canon_search_<path>.cpp; the
// avx512vp2i path runs the avx512 one).
namespace dlslab::canon_kernels {

/// One branch-and-bound search and its scratch.
class Kernel {
 public:
  virtual ~Kernel() = default;
  /// Computes the least relabelled candidate of the complete Latin square.
  virtual void run(const Grid& square) = 0;
  /// The result of the last run.
  [[nodiscard]] virtual const Grid& best() const = 0;
  /// Number of arrangements whose row 1 reached the bound in the last run.
  [[nodiscard]] virtual int leaves() const = 0;
};

using MakeKernel = std::unique_ptr<Kernel> (*)();

namespace scalar {
[[nodiscard]] std::unique_ptr<Kernel> make();
}
namespace avx2 {
[[nodiscard]] std::unique_ptr<Kernel> make();
}
namespace avx512 {
[[nodiscard]] std::unique_ptr<Kernel> make();
}

inline constexpr IsaTable<MakeKernel> kKernels = {scalar::make, avx2::make, avx512::make,
                                                  avx512::make};

}  // namespace dlslab::canon_kernels
