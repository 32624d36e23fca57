// The order-10 "Random search v3" filling for the avx512 path.
#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>

#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

#define DLSLAB_KERNEL_LEVEL DLSLAB_LEVEL_AVX512

DLSLAB_TARGET_AVX512
namespace dlslab::rsv3_kernels::avx512 {
#include "fill/rsv3.inc"
}  // namespace dlslab::rsv3_kernels::avx512
DLSLAB_TARGET_END
