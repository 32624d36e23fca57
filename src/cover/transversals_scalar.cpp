// The fast transversal enumeration for the scalar path.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"

namespace dlslab::transversal_kernels::scalar {
#include "cover/transversal_halves.inc"
}  // namespace dlslab::transversal_kernels::scalar
