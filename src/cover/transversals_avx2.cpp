// The fast transversal enumeration for the avx2 path: column sets (transversal_column_sets.inc)
// with the words split into bytes, looked up by in-lane byte shuffles. Each top half that
// passed compares the complement of its key with the keys of all bottom halves, 32 at a time.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"
#include "model/isa_target.h"

DLSLAB_TARGET_AVX2
namespace dlslab::transversal_kernels::avx2 {
namespace {
// Bit 12 of a cell's word: its high byte tells that the cell is unusable.
constexpr std::uint16_t kUnusableWord = 1u << 12;
}  // namespace

#include "cover/transversal_column_sets.inc"

namespace {

/// The keys (low and high bytes) of 32 arrangements of one chunk over the five-cell tables of
/// a half's rows, and which of them are halves of transversals (bit per lane).
inline std::uint32_t half_keys(const __m256i (&low)[kHalfRows], const __m256i (&high)[kHalfRows],
                               const std::array<std::array<std::uint8_t, kLanes>, kHalfRows>& pick,
                               const std::array<std::int8_t, kLanes>& lanes, __m256i& key_low,
                               __m256i& key_high, __m256i& valid) {
  __m256i index = _mm256_load_si256(reinterpret_cast<const __m256i*>(pick[0].data()));
  __m256i sum_low = _mm256_shuffle_epi8(low[0], index);
  __m256i sum_high = _mm256_shuffle_epi8(high[0], index);
  __m256i any_low = sum_low;
  __m256i any_high = sum_high;
  for (int r = 1; r < kHalfRows; ++r) {
    index = _mm256_load_si256(reinterpret_cast<const __m256i*>(pick[r].data()));
    const __m256i cell_low = _mm256_shuffle_epi8(low[r], index);
    const __m256i cell_high = _mm256_shuffle_epi8(high[r], index);
    sum_low = _mm256_adds_epu8(sum_low, cell_low);
    sum_high = _mm256_add_epi8(sum_high, cell_high);
    any_low = _mm256_or_si256(any_low, cell_low);
    any_high = _mm256_or_si256(any_high, cell_high);
  }
  key_low = sum_low;
  key_high = sum_high;
  const __m256i unusable = _mm256_and_si256(sum_high, _mm256_set1_epi8(kUnusableWord >> 8));
  const __m256i ok = _mm256_andnot_si256(
      _mm256_cmpeq_epi8(unusable, _mm256_set1_epi8(kUnusableWord >> 8)),
      _mm256_and_si256(_mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.data())),
                       _mm256_and_si256(_mm256_cmpeq_epi8(sum_low, any_low),
                                        _mm256_cmpeq_epi8(sum_high, any_high))));
  valid = ok;
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(ok));
}

class ColumnSets final : public ColumnSetsBase {
 public:
  void run(const TLatinSquare& square, bool diagonal_only, TTransversalCounts& counts,
           TTransversalsTable& table) override {
    const ColumnSetTables& t = column_set_tables();
    alignas(64) HalfWords words{};
    load_words(square, diagonal_only, words);
    const auto full = static_cast<std::uint16_t>(diagonal_only ? 0xFFF : 0x3FF);
    // Row r of half h as two byte tables (low and high bytes of the words), in both lanes.
    alignas(32) std::array<std::array<std::array<std::uint8_t, kLanes>, kHalfRows>, 2> low{};
    alignas(32) std::array<std::array<std::array<std::uint8_t, kLanes>, kHalfRows>, 2> high{};
    for (int h = 0; h < 2; ++h)
      for (int r = 0; r < kHalfRows; ++r)
        for (int c = 0; c < kOrder; ++c) {
          const std::uint16_t w = words[h][kOrder * r + c];
          low[h][r][c] = low[h][r][16 + c] = static_cast<std::uint8_t>(w);
          high[h][r][c] = high[h][r][16 + c] = static_cast<std::uint8_t>(w >> 8);
        }
    const auto load = [](const auto& bytes) {
      return _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes.data()));
    };
    // The five cells of each row of a half over set k.
    const auto cells_of = [&](int h, int k, __m256i(&cell_low)[kHalfRows],
                              __m256i(&cell_high)[kHalfRows]) {
      const __m256i columns = load(t.column_bytes[k]);
      for (int r = 0; r < kHalfRows; ++r) {
        cell_low[r] = _mm256_shuffle_epi8(load(low[h][r]), columns);
        cell_high[r] = _mm256_shuffle_epi8(load(high[h][r]), columns);
      }
    };
    const __m256i none = _mm256_set1_epi8(-1);
    const __m256i complement_low = _mm256_set1_epi8(static_cast<char>(full & 0xFF));
    const __m256i complement_high = _mm256_set1_epi8(static_cast<char>(full >> 8));

    found_count_ = 0;
    alignas(32) std::array<std::uint8_t, kChunks * kLanes> wanted_low{};
    alignas(32) std::array<std::uint8_t, kChunks * kLanes> wanted_high{};
    for (int k = 0; k < kSets; ++k) {
      const int other = t.complement[k];
      __m256i cell_low[kHalfRows];
      __m256i cell_high[kHalfRows];
      cells_of(1, other, cell_low, cell_high);
      __m256i bottom_low[kChunks];
      __m256i bottom_high[kChunks];
      std::uint32_t any_bottom = 0;
      for (int ch = 0; ch < kChunks; ++ch) {
        __m256i key_low;
        __m256i key_high;
        __m256i valid;
        any_bottom |= half_keys(cell_low, cell_high, t.pick_bytes[ch], t.lane_bytes[ch], key_low,
                                key_high, valid);
        // A lane that is no bottom half gets a high byte no complement has.
        bottom_low[ch] = key_low;
        bottom_high[ch] = _mm256_blendv_epi8(none, key_high, valid);
      }
      if (any_bottom == 0) continue;
      cells_of(0, k, cell_low, cell_high);
      std::array<std::uint32_t, kChunks> tops;
      for (int ch = 0; ch < kChunks; ++ch) {
        __m256i key_low;
        __m256i key_high;
        __m256i valid;
        tops[ch] = half_keys(cell_low, cell_high, t.pick_bytes[ch], t.lane_bytes[ch], key_low,
                             key_high, valid);
        _mm256_store_si256(reinterpret_cast<__m256i*>(wanted_low.data() + kLanes * ch),
                           _mm256_xor_si256(key_low, complement_low));
        _mm256_store_si256(reinterpret_cast<__m256i*>(wanted_high.data() + kLanes * ch),
                           _mm256_xor_si256(key_high, complement_high));
      }
      for (int ch = 0; ch < kChunks; ++ch)
        for (std::uint32_t m = tops[ch]; m != 0; m &= m - 1) {
          const int a = kLanes * ch + std::countr_zero(m);
          const __m256i w_low = _mm256_set1_epi8(static_cast<char>(wanted_low[a]));
          const __m256i w_high = _mm256_set1_epi8(static_cast<char>(wanted_high[a]));
          __m256i hit[kChunks];
          for (int b = 0; b < kChunks; ++b)
            hit[b] = _mm256_and_si256(_mm256_cmpeq_epi8(w_low, bottom_low[b]),
                                      _mm256_cmpeq_epi8(w_high, bottom_high[b]));
          const __m256i any =
              _mm256_or_si256(_mm256_or_si256(hit[0], hit[1]), _mm256_or_si256(hit[2], hit[3]));
          if (_mm256_testz_si256(any, any)) continue;
          const std::uint64_t top = std::uint64_t{t.packed[k][a]} << (4 * kHalfRows);
          std::uint64_t* out = room_for(kArrangements);
          for (int b = 0; b < kChunks; ++b)
            for (auto h = static_cast<std::uint32_t>(_mm256_movemask_epi8(hit[b])); h != 0;
                 h &= h - 1)
              *out++ = top | t.packed[other][kLanes * b + std::countr_zero(h)];
          found_count_ = static_cast<std::size_t>(out - found_.data());
        }
    }
    emit_in_order(counts, table);
  }
};

}  // namespace

std::unique_ptr<Kernel> make() { return std::make_unique<ColumnSets>(); }
}  // namespace dlslab::transversal_kernels::avx2
DLSLAB_TARGET_END
