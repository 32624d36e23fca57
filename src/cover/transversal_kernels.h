#pragma once

#include <memory>

#include "cover/transversals.h"
#include "model/isa_path.h"

// The fast transversal enumerators, one per instruction-set path (transversals_<path>.cpp).
namespace dlslab::transversal_kernels {

/// One enumerator and its scratch.
class Kernel {
 public:
  virtual ~Kernel() = default;
  /// The transversals of GetTransversals, in its order, into table (cleared first), with the
  /// number through each cell of row 0 in counts (cleared first).
  virtual void Run(const TLatinSquare& square, bool diagonal_only, TTransversalCounts& counts,
                   TTransversalsTable& table) = 0;
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
namespace avx512vp2i {
[[nodiscard]] std::unique_ptr<Kernel> Make();
}

/// The enumerator of a path.
[[nodiscard]] std::unique_ptr<Kernel> Make(IsaPath path);

}  // namespace dlslab::transversal_kernels
