// The order-10 "Random search v3" filling for the avx2 path.
#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>

#include "fill/dls_candidates.h"
#include "fill/rsv3_kernels.h"
#include "model/bit_count.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX2
namespace dlslab::rsv3_kernels::avx2 {
#include "fill/rsv3.inc"
namespace {

constexpr int kLanes = 112;  // seven vectors of sixteen
using LaneRow = std::array<std::uint16_t, kLanes>;
/// 0xFFFF in the lanes of a cell's peers.
alignas(32) constexpr std::array<LaneRow, kCells> kPeerLanes = [] {
  std::array<LaneRow, kCells> peers{};
  for (int a = 0; a < kCells; ++a)
    for (int b = 0; b < kCells; ++b) peers[a][b] = shares_line(a, b) ? 0xFFFF : 0;
  return peers;
}();
alignas(32) constexpr LaneRow kLaneIndex = [] {
  LaneRow index{};
  for (int i = 0; i < kLanes; ++i) index[i] = static_cast<std::uint16_t>(i);
  return index;
}();

class Filler {
 public:
  static int count(std::uint32_t c) { return _mm_popcnt_u32(c); }
  static int select(std::uint32_t c, std::uint32_t k) {
    return std::countr_zero(_pdep_u32(1u << k, c));
  }
  void reset() {
    for (int i = 0; i < kCells; ++i) lane_[i] = kAllCandidates;
    for (int i = kCells; i < kLanes; ++i) lane_[i] = kFilledCell;
    single_[0] = single_[1] = 0;
    dead_ = false;
  }
  [[nodiscard]] std::uint32_t cand(int q) const { return lane_[q]; }
  [[nodiscard]] bool dead() const { return dead_; }
  [[nodiscard]] int next_single(int p) const { return next_from(single_, p); }

  void place(int q, std::uint32_t bit) {
    const __m256i b = _mm256_set1_epi16(static_cast<short>(bit));
    const __m256i at = _mm256_set1_epi16(static_cast<short>(q));
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i filled = _mm256_set1_epi16(static_cast<short>(kFilledCell));
    const __m256i zero = _mm256_setzero_si256();
    __m256i single[8];
    __m256i dead = zero;
    for (int t = 0; t < 7; ++t) {
      auto* where = reinterpret_cast<__m256i*>(lane_.data() + 16 * t);
      const __m256i peers =
          _mm256_load_si256(reinterpret_cast<const __m256i*>(kPeerLanes[q].data() + 16 * t));
      const __m256i self = _mm256_cmpeq_epi16(
          _mm256_load_si256(reinterpret_cast<const __m256i*>(kLaneIndex.data() + 16 * t)), at);
      __m256i x = _mm256_andnot_si256(_mm256_and_si256(peers, b), _mm256_load_si256(where));
      x = _mm256_blendv_epi8(x, filled, self);
      _mm256_store_si256(where, x);
      const __m256i none = _mm256_cmpeq_epi16(x, zero);
      const __m256i pow2 = _mm256_cmpeq_epi16(_mm256_and_si256(x, _mm256_sub_epi16(x, one)), zero);
      single[t] = _mm256_andnot_si256(none, pow2);
      dead = _mm256_or_si256(dead, none);
    }
    single[7] = zero;
    std::uint32_t word[4];
    for (int t = 0; t < 4; ++t) {
      // packs works within 128-bit halves; the permute puts the 32 lanes back in order.
      const __m256i bytes =
          _mm256_permute4x64_epi64(_mm256_packs_epi16(single[2 * t], single[2 * t + 1]), 0xD8);
      word[t] = static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
    }
    single_[0] = word[0] | static_cast<std::uint64_t>(word[1]) << 32;
    single_[1] = word[2] | static_cast<std::uint64_t>(word[3]) << 32;
    dead_ = !_mm256_testz_si256(dead, dead);
  }

 private:
  alignas(32) LaneRow lane_;
  std::uint64_t single_[2];
  bool dead_;
};

}  // namespace

void square(std::uint32_t& seed, int* cells) { fill_square<Filler>(seed, cells); }
}  // namespace dlslab::rsv3_kernels::avx2
DLSLAB_TARGET_END
