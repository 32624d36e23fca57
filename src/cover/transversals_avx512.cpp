// The fast transversal enumeration for the avx512 path: column sets in blocks
// (transversal_blocks_avx512.inc). 32 wanted top keys meet 32 bottom keys in 32 word compares,
// the bottom keys turned through every place.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX512
namespace dlslab::transversal_kernels::avx512 {
namespace {
// With whole words, an unusable cell shares a value with each of the four others of any
// arrangement through it, which so never passes.
constexpr std::uint16_t kUnusableWord = 0x3FF;
}  // namespace

#include "cover/transversal_column_sets.inc"

namespace {

alignas(64) constexpr std::array<std::uint32_t, 16> kLaneNumbers = {
    0u << 16, 1u << 16, 2u << 16,  3u << 16,  4u << 16,  5u << 16,  6u << 16,  7u << 16,
    8u << 16, 9u << 16, 10u << 16, 11u << 16, 12u << 16, 13u << 16, 14u << 16, 15u << 16};

alignas(64) constexpr std::array<std::uint16_t, kLanes> kLowWords = {
    0,  2,  4,  6,  8,  10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30,
    32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 60, 62};

/// Keys 32 v .. 32 v + 31 of a list of count words key | a << 16, as words, and filler past its
/// end. The list has room for 32 past its end.
inline __m512i thirty_two_keys(const std::uint32_t* list, int count, int v, int filler) {
  const int left = count - kLanes * v;
  const auto lanes = static_cast<__mmask32>(left >= kLanes ? ~0u : (1u << left) - 1);
  // The low word of each double word of both halves.
  const __m512i keys = _mm512_permutex2var_epi16(
      _mm512_loadu_si512(list + kLanes * v), _mm512_load_si512(kLowWords.data()),
      _mm512_loadu_si512(list + kLanes * v + kLanes / 2));
  return _mm512_mask_mov_epi16(_mm512_set1_epi16(static_cast<short>(filler)), lanes, keys);
}

/// Appends the keys of the lanes of ok, in lane order, to out as words key | a << 16 with a the
/// arrangement's number; returns how many. out has room for 32 past its end.
inline int append_keys(__m512i key, __mmask32 ok, int chunk, std::uint32_t* out) {
  const __m512i first = _mm512_set1_epi32(kLanes * chunk << 16);
  const __m512i low_numbers = _mm512_add_epi32(first, _mm512_load_si512(kLaneNumbers.data()));
  const __m512i high_numbers = _mm512_add_epi32(low_numbers, _mm512_set1_epi32(kLanes / 2 << 16));
  const auto ok_low = static_cast<__mmask16>(ok);
  const auto ok_high = static_cast<__mmask16>(ok >> 16);
  const __m512i low = _mm512_or_si512(
      _mm512_maskz_cvtepu16_epi32(0xFFFF, _mm512_maskz_extracti64x4_epi64(0xFF, key, 0)),
      low_numbers);
  const __m512i high = _mm512_or_si512(
      _mm512_maskz_cvtepu16_epi32(0xFFFF, _mm512_maskz_extracti64x4_epi64(0xFF, key, 1)),
      high_numbers);
  _mm512_storeu_si512(out, _mm512_maskz_compress_epi32(ok_low, low));
  const int n = std::popcount(static_cast<unsigned>(ok_low));
  _mm512_storeu_si512(out + n, _mm512_maskz_compress_epi32(ok_high, high));
  return n + std::popcount(static_cast<unsigned>(ok_high));
}

/// The halves of a column set that passed, as append_keys gives them (32 spare).
struct HalfLists {
  alignas(64) std::array<std::uint32_t, kChunks * kLanes + kLanes> bottom_list;
  alignas(64) std::array<std::uint32_t, kChunks * kLanes + kLanes> top_list;

  /// Appends the bottom halves of chunk ch that passed (ok) after the first count.
  int add_bottoms(int count, __m512i key, __mmask32 ok, int ch) {
    return append_keys(key, ok, ch, bottom_list.data() + count);
  }
  /// Appends the wanted keys of the top halves of chunk ch that passed after the first count.
  int add_tops(int count, __m512i wanted, __mmask32 ok, int ch) {
    return append_keys(wanted, ok, ch, top_list.data() + count);
  }
};

}  // namespace

#include "cover/transversal_blocks_avx512.inc"

namespace {

template <class Meet>
void ColumnSets::meet_block(int first, int last, const Meet& meet) {
  // Up to 32 top halves against up to 32 bottom halves, their keys as words: the bottom
  // keys are turned through all 32 places (four turns of the 128-bit lanes, eight of the
  // words within each), and a top half meets something when some turn compares equal.
  // Four chains of masked compares, one per lane turn, keep the lanes that met nothing.
  int hit_count = 0;
  for (int k = first; k < last; ++k) {
    const BlockSet& set = block_[k - first];
    for (int v = 0; v * kLanes < set.tops; ++v) {
      const __m512i tops = thirty_two_keys(set.top_list.data(), set.tops, v, -1);
      __mmask32 missed = ~__mmask32{0};
      for (int u = 0; u * kLanes < set.bottoms; ++u) {
        const __m512i b0 = thirty_two_keys(set.bottom_list.data(), set.bottoms, u, -2);
        const __m512i b1 = _mm512_maskz_shuffle_i32x4(0xFFFF, b0, b0, _MM_SHUFFLE(0, 3, 2, 1));
        const __m512i b2 = _mm512_maskz_shuffle_i32x4(0xFFFF, b0, b0, _MM_SHUFFLE(1, 0, 3, 2));
        const __m512i b3 = _mm512_maskz_shuffle_i32x4(0xFFFF, b0, b0, _MM_SHUFFLE(2, 1, 0, 3));
        __mmask32 m0 = _mm512_cmpneq_epi16_mask(tops, b0);
        __mmask32 m1 = _mm512_cmpneq_epi16_mask(tops, b1);
        __mmask32 m2 = _mm512_cmpneq_epi16_mask(tops, b2);
        __mmask32 m3 = _mm512_cmpneq_epi16_mask(tops, b3);
        const auto turn = [&]<int kBytes>() {
          m0 = _mm512_mask_cmpneq_epi16_mask(m0, tops, _mm512_alignr_epi8(b0, b0, kBytes));
          m1 = _mm512_mask_cmpneq_epi16_mask(m1, tops, _mm512_alignr_epi8(b1, b1, kBytes));
          m2 = _mm512_mask_cmpneq_epi16_mask(m2, tops, _mm512_alignr_epi8(b2, b2, kBytes));
          m3 = _mm512_mask_cmpneq_epi16_mask(m3, tops, _mm512_alignr_epi8(b3, b3, kBytes));
        };
        turn.template operator()<2>();
        turn.template operator()<4>();
        turn.template operator()<6>();
        turn.template operator()<8>();
        turn.template operator()<10>();
        turn.template operator()<12>();
        turn.template operator()<14>();
        missed &= m0 & m1 & m2 & m3;
      }
      const std::uint32_t hit = ~static_cast<std::uint32_t>(missed);
      block_hits_[hit_count] = {hit, static_cast<std::uint8_t>(k - first),
                                static_cast<std::uint8_t>(v)};
      hit_count += hit != 0;
    }
  }
  for (int j = 0; j < hit_count; ++j) {
    const BlockHit& found = block_hits_[j];
    const BlockSet& set = block_[found.set];
    for (std::uint32_t h = found.tops; h != 0; h &= h - 1) {
      const std::uint32_t half = set.top_list[kLanes * found.vector + std::countr_zero(h)];
      meet(first + found.set, half & kKeyMask, static_cast<int>(half >> 16));
    }
  }
}

}  // namespace

std::unique_ptr<Kernel> make() { return std::make_unique<ColumnSets>(); }
}  // namespace dlslab::transversal_kernels::avx512
DLSLAB_TARGET_END
