// The counting search of the fillings for the avx2 path.
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "fill/fill_kernels.h"
#include "model/isa_target.h"
#include "model/progress.h"

DLSLAB_TARGET_AVX2
namespace dlslab::fill_kernels::avx2 {
#include "fill/count_search.inc"
}  // namespace dlslab::fill_kernels::avx2
DLSLAB_TARGET_END
