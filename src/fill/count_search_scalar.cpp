// The counting search of the fillings for the scalar path.
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "fill/fill_kernels.h"
#include "model/isa_target.h"
#include "model/progress.h"

DLSLAB_TARGET_SCALAR
namespace dlslab::fill_kernels::scalar {
#include "fill/count_search.inc"
}  // namespace dlslab::fill_kernels::scalar
DLSLAB_TARGET_END
