// The order-10 "Random search v3" filling for the scalar path.
#include <array>
#include <bit>
#include <cstdint>

#include "fill/dls_peers.h"
#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

DLSLAB_TARGET_SCALAR
namespace dlslab::rsv3_kernels::scalar {
#include "fill/rsv3.inc"
namespace {

class Filler {
 public:
  static int count(std::uint32_t c) { return bit_count(c); }
  static int select(std::uint32_t c, std::uint32_t k) {
    while (k-- > 0) c &= c - 1;
    return std::countr_zero(c);
  }
  void reset() {
    cand_.fill(kAll);
    single_[0] = single_[1] = 0;
    dead_ = false;
  }
  [[nodiscard]] std::uint32_t cand(int q) const { return cand_[q]; }
  [[nodiscard]] bool dead() const { return dead_; }
  [[nodiscard]] int next_single(int p) const { return next_from(single_, p); }

  void place(int q, std::uint32_t bit) {
    cand_[q] = kFilled;
    single_[q >> 6] &= ~(1ull << (q & 63));
    const PeerList& peers = kDlsPeers[q];
    for (int i = 0; i < peers.count; ++i) {
      const int x = peers.cell[i];
      const std::uint32_t c = cand_[x];
      if ((c & bit) == 0) continue;
      const std::uint32_t d = c ^ bit;
      cand_[x] = static_cast<std::uint16_t>(d);
      dead_ |= d == 0;
      if (d != 0 && (d & (d - 1)) == 0) single_[x >> 6] |= 1ull << (x & 63);
    }
  }

 private:
  std::array<std::uint16_t, kCells> cand_;
  std::uint64_t single_[2];
  bool dead_;
};

}  // namespace

void square(std::uint32_t& seed, int* cells) { fill_square<Filler>(seed, cells); }
}  // namespace dlslab::rsv3_kernels::scalar
DLSLAB_TARGET_END
