// The order-10 "Random search v3" filling for the scalar path.
#include <array>
#include <bit>
#include <cstdint>

#include "fill/dls_candidates.h"
#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

DLSLAB_TARGET_SCALAR
namespace dlslab::rsv3_kernels::scalar {
#include "fill/rsv3.inc"
namespace {

// The shared candidate sets, with the draw's bit arithmetic of the baseline instruction set.
class Filler : public DlsCandidates {
 public:
  static int count(std::uint32_t c) { return bit_count(c); }
  static int select(std::uint32_t c, std::uint32_t k) {
    while (k-- > 0) c &= c - 1;
    return std::countr_zero(c);
  }
};

}  // namespace

void square(std::uint32_t& seed, int* cells) { fill_square<Filler>(seed, cells); }
}  // namespace dlslab::rsv3_kernels::scalar
DLSLAB_TARGET_END
