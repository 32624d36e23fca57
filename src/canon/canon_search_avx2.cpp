// The canonical-form search for the avx2 path.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "canon/canon_kernels.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX2
namespace dlslab::canon_kernels::avx2 {
#include "canon/canon_search.inc"

std::unique_ptr<Kernel> make() { return std::make_unique<BranchAndBound>(); }
}  // namespace dlslab::canon_kernels::avx2
DLSLAB_TARGET_END
