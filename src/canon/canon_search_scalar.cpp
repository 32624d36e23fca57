// The canonical-form search for the scalar path.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "canon/canon_kernels.h"
#include "model/isa_target.h"

DLSLAB_TARGET_SCALAR
namespace dlslab::canon_kernels::scalar {
#include "canon/canon_search.inc"

std::unique_ptr<Kernel> make() { return std::make_unique<BranchAndBound>(); }
}  // namespace dlslab::canon_kernels::scalar
DLSLAB_TARGET_END
