#pragma once

#include <cstdint>

#include "model/isa_path.h"

// The order-10 "Random search v3" filling, one per instruction-set path (rsv3_<path>.cpp).
namespace dlslab::rsv3_kernels {

/// Writes into cells (100 ints, row-major) the DLS that repeated RandomFillV2 attempts reach from
/// the generator seed `seed`, and leaves seed where those attempts leave it.
using SquareFn = void (*)(std::uint32_t& seed, int* cells);

namespace scalar {
void square(std::uint32_t& seed, int* cells);
}
namespace avx2 {
void square(std::uint32_t& seed, int* cells);
}
namespace avx512 {
void square(std::uint32_t& seed, int* cells);
}

/// The filling of a path.
[[nodiscard]] SquareFn square_on(IsaPath path);

}  // namespace dlslab::rsv3_kernels
