// The fast transversal enumeration for the avx512vp2i path.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"
#include "model/isa_target.h"

#define DLSLAB_KERNEL_LEVEL DLSLAB_LEVEL_AVX512
#define DLSLAB_KERNEL_VP2INTERSECT 1

DLSLAB_TARGET_AVX512_VP2I
namespace dlslab::transversal_kernels::avx512vp2i {
#include "cover/transversal_column_sets.inc"

std::unique_ptr<Kernel> Make() { return std::make_unique<ColumnSets>(); }
}  // namespace dlslab::transversal_kernels::avx512vp2i
DLSLAB_TARGET_END
