// The order-10 "Random search v3" filling for the scalar path.
#include <array>
#include <bit>
#include <cstdint>

#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

#define DLSLAB_KERNEL_LEVEL DLSLAB_LEVEL_SCALAR

DLSLAB_TARGET_SCALAR
namespace dlslab::rsv3_kernels::scalar {
#include "fill/rsv3.inc"
}  // namespace dlslab::rsv3_kernels::scalar
DLSLAB_TARGET_END
