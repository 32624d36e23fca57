// The fast transversal enumeration for the avx512vp2i path: column sets in blocks
// (transversal_blocks_avx512.inc), the halves compressed as 16-bit keys (VBMI2) and met sixteen
// against sixteen with VP2INTERSECT; the arrangement of a meeting top half is recovered from
// its chunk's mask.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX512_VP2I
namespace dlslab::transversal_kernels::avx512vp2i {
namespace {
// With whole words, an unusable cell shares a value with each of the four others of any
// arrangement through it, which so never passes.
constexpr std::uint16_t kUnusableWord = 0x3FF;
}  // namespace

#include "cover/transversal_column_sets.inc"

namespace {

/// Keys 16 v .. 16 v + 15 of a list of count as double words, and filler past its end.
inline __m512i sixteen_keys(const std::uint16_t* list, int count, int v, int filler) {
  const int left = count - kLanes / 2 * v;
  const auto lanes = static_cast<__mmask16>(left >= 16 ? 0xFFFF : (1u << left) - 1);
  return _mm512_mask_cvtepu16_epi32(
      _mm512_set1_epi32(filler), lanes,
      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(list + kLanes / 2 * v)));
}

/// The keys of the halves of a column set that passed (32 spare), and which lanes of each chunk
/// the top halves are.
struct HalfLists {
  alignas(64) std::array<std::uint16_t, kChunks * kLanes + kLanes> bottom_words;
  alignas(64) std::array<std::uint16_t, kChunks * kLanes + kLanes> top_words;
  std::array<std::uint32_t, kChunks> top_ok;
  std::array<int, kChunks> top_before;  // the top halves of the chunks before

  /// Appends the keys of the bottom halves of a chunk that passed (ok) after the first count.
  int add_bottoms(int count, __m512i key, __mmask32 ok, int /*ch*/) {
    _mm512_storeu_si512(bottom_words.data() + count, _mm512_maskz_compress_epi16(ok, key));
    return std::popcount(ok);
  }
  /// Appends the wanted keys of the top halves of chunk ch that passed after the first count.
  int add_tops(int count, __m512i wanted, __mmask32 ok, int ch) {
    _mm512_storeu_si512(top_words.data() + count, _mm512_maskz_compress_epi16(ok, wanted));
    top_ok[ch] = ok;
    top_before[ch] = count;
    return std::popcount(ok);
  }
};

}  // namespace

#include "cover/transversal_blocks_avx512.inc"

namespace {

template <class Meet>
void ColumnSets::meet_block(int first, int last, const Meet& meet) {
  // Sixteen top halves against sixteen bottom halves in one instruction; the lanes past
  // the end of each list hold keys that meet nothing. Which vectors of top halves met
  // something is noted without a branch (about one in five does), and they are followed
  // up after the whole block.
  int hit_count = 0;
  for (int k = first; k < last; ++k) {
    const BlockSet& set = block_[k - first];
    const int bottom_vectors = (set.bottoms + 15) / 16;
    const int top_vectors = (set.tops + 15) / 16;
    __m512i bottoms[kChunks * 2];
    for (int v = 0; v < bottom_vectors; ++v)
      bottoms[v] = sixteen_keys(set.bottom_words.data(), set.bottoms, v, -2);
    for (int v = 0; v < top_vectors; ++v) {
      const __m512i tops = sixteen_keys(set.top_words.data(), set.tops, v, -1);
      __mmask16 hit = 0;
      for (int u = 0; u < bottom_vectors; ++u) {
        __mmask16 top_hit;
        __mmask16 bottom_hit;
        _mm512_2intersect_epi32(tops, bottoms[u], &top_hit, &bottom_hit);
        hit = _kor_mask16(hit, top_hit);
      }
      block_hits_[hit_count] = {hit, static_cast<std::uint8_t>(k - first),
                                static_cast<std::uint8_t>(v)};
      hit_count += hit != 0;
    }
  }
  for (int j = 0; j < hit_count; ++j) {
    const BlockHit& found = block_hits_[j];
    const int k = first + found.set;
    const BlockSet& set = block_[found.set];
    for (unsigned h = found.tops; h != 0; h &= h - 1) {
      // The arrangement of the i-th top half passed: the i-th lane of its chunk's mask.
      const int i = kLanes / 2 * found.vector + std::countr_zero(h);
      const int ch = (i >= set.top_before[1]) + (i >= set.top_before[2]) + (i >= set.top_before[3]);
      const auto lane = static_cast<std::uint32_t>(i - set.top_before[ch]);
      meet(k, set.top_words[i],
           kLanes * ch + std::countr_zero(_pdep_u32(std::uint32_t{1} << lane, set.top_ok[ch])));
    }
  }
}

}  // namespace

std::unique_ptr<Kernel> make() { return std::make_unique<ColumnSets>(); }
}  // namespace dlslab::transversal_kernels::avx512vp2i
DLSLAB_TARGET_END
