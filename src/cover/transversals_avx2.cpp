// The fast transversal enumeration for the avx2 path.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"
#include "model/isa_target.h"

#define DLSLAB_KERNEL_LEVEL DLSLAB_LEVEL_AVX2

DLSLAB_TARGET_AVX2
namespace dlslab::transversal_kernels::avx2 {
#include "cover/transversal_column_sets.inc"

std::unique_ptr<Kernel> Make() { return std::make_unique<ColumnSets>(); }
}  // namespace dlslab::transversal_kernels::avx2
DLSLAB_TARGET_END
