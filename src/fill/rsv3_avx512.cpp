// The order-10 "Random search v3" filling for the avx512 path.
#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>

#include "fill/dls_candidates.h"
#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX512
namespace dlslab::rsv3_kernels::avx512 {
#include "fill/rsv3.inc"
namespace {

constexpr int kLanes = 128;  // four vectors of 32
/// The peers of a cell as four lane masks.
constexpr std::array<std::array<std::uint32_t, 4>, kCells> kPeerMasks = [] {
  std::array<std::array<std::uint32_t, 4>, kCells> peers{};
  for (int a = 0; a < kCells; ++a)
    for (int b = 0; b < kCells; ++b)
      if (shares_line(a, b)) peers[a][b >> 5] |= 1u << (b & 31);
  return peers;
}();

class Filler {
 public:
  static int count(std::uint32_t c) { return _mm_popcnt_u32(c); }
  static int select(std::uint32_t c, std::uint32_t k) {
    return std::countr_zero(_pdep_u32(1u << k, c));
  }
  void reset() {
    const __m512i all = _mm512_set1_epi16(kAllCandidates);
    const __m512i filled = _mm512_set1_epi16(static_cast<short>(kFilledCell));
    for (int t = 0; t < 3; ++t) _mm512_store_si512(lane_.data() + 32 * t, all);
    // Lanes 100..127 stand for no cell.
    _mm512_store_si512(lane_.data() + 96, _mm512_mask_mov_epi16(filled, 0xF, all));
    single_[0] = single_[1] = 0;
    dead_ = false;
  }
  [[nodiscard]] std::uint32_t cand(int q) const { return lane_[q]; }
  [[nodiscard]] bool dead() const { return dead_; }
  [[nodiscard]] int next_single(int p) const { return next_from(single_, p); }

  void place(int q, std::uint32_t bit) {
    const __m512i keep = _mm512_set1_epi16(static_cast<short>(~bit));
    const __m512i one = _mm512_set1_epi16(1);
    const __m512i filled = _mm512_set1_epi16(static_cast<short>(kFilledCell));
    const std::array<std::uint32_t, 4>& peers = kPeerMasks[q];
    std::uint64_t single[2] = {0, 0};
    std::uint32_t dead = 0;
    for (int t = 0; t < 4; ++t) {
      std::uint16_t* where = lane_.data() + 32 * t;
      __m512i x = _mm512_load_si512(where);
      x = _mm512_mask_mov_epi16(x, peers[t], _mm512_and_si512(keep, x));
      const std::uint32_t self = (q >> 5) == t ? 1u << (q & 31) : 0u;
      x = _mm512_mask_mov_epi16(x, self, filled);
      _mm512_store_si512(where, x);
      const std::uint32_t pow2 = _mm512_testn_epi16_mask(x, _mm512_sub_epi16(x, one));
      const std::uint32_t none = _mm512_testn_epi16_mask(x, x);
      single[t >> 1] |= static_cast<std::uint64_t>(pow2 & ~none) << (32 * (t & 1));
      dead |= none;
    }
    single_[0] = single[0];
    single_[1] = single[1];
    dead_ = dead != 0;
  }

 private:
  alignas(64) std::array<std::uint16_t, kLanes> lane_;
  std::uint64_t single_[2];
  bool dead_;
};

}  // namespace

void square(std::uint32_t& seed, int* cells) { fill_square<Filler>(seed, cells); }
}  // namespace dlslab::rsv3_kernels::avx512
DLSLAB_TARGET_END
