// The counting search of the fillings for the avx512 path.
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "fill/fill_kernels.h"
#include "model/isa_target.h"
#include "model/progress.h"

DLSLAB_TARGET_AVX512
namespace dlslab::fill_kernels::avx512 {
#include "fill/count_search.inc"
}  // namespace dlslab::fill_kernels::avx512
DLSLAB_TARGET_END
