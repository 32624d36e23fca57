#pragma once

#include <cstdint>
#include <memory>

#include "cover/transversals.h"
#include "model/isa_dispatch.h"

// The fast transversal enumerators, one per instruction-set path (transversals_<path>.cpp):
// the scalar one meets halves of rows through a hash, the vector ones meet halves of columns
// set by set (transversal_column_sets.inc).
namespace dlslab::transversal_kernels {

/// One enumerator and its scratch.
class Kernel {
 public:
  virtual ~Kernel() = default;
  /// The transversals of GetTransversals, in its order, into table (cleared first), with the
  /// number through each cell of row 0 in counts (cleared first).
  virtual void run(const TLatinSquare& square, bool diagonal_only, TTransversalCounts& counts,
                   TTransversalsTable& table) = 0;
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
namespace avx512vp2i {
[[nodiscard]] std::unique_ptr<Kernel> make();
}

inline constexpr IsaTable<MakeKernel> kKernels = {scalar::make, avx2::make, avx512::make,
                                                  avx512vp2i::make};

/// A cell that can be in no transversal.
inline constexpr std::uint8_t kNoValue = 0xFF;

/// Reads cell (r, c) of the top-left 10 x 10 block as a usable value 0..9 or kNoValue.
[[nodiscard]] inline std::uint8_t usable_value(const TLatinSquare& square, int r, int c) {
  if (square.order() < kOrder) return kNoValue;
  const int v = square[r][c];
  return v >= 0 && v < kOrder ? static_cast<std::uint8_t>(v) : kNoValue;
}

}  // namespace dlslab::transversal_kernels
