// Transversal enumeration of order-10 squares.
//
// Both enumerators list the transversals in lexicographic order of (t[0], ..., t[9]), so the
// list is grouped by the row-0 column and Starts/Counts describe the groups.
//
// GetTransversals is the plain depth-first search over rows 0..9 with flag arrays for the used
// columns, values and diagonal cells: about 120,000 search nodes on a random square.
//
// GetTransversalsFast meets in the middle. A transversal splits into a top half (rows 0..4)
// and a bottom half (rows 5..9) that use complementary sets of five columns and five values,
// and, for diagonal transversals, share out the one main-diagonal and the one anti-diagonal
// cell. A half is summed up by its key
//
//   key = columns (bits 0..9) | values << 10 | main-diagonal cell << 20 | anti-diagonal << 21
//
// and a top half completes exactly with the bottom halves whose key is its complement.
// - Each side is built level by level (one row at a time) as flat lists of keys and packed
//   columns; cell (r, c) adds fixed key bits, and a half may take it when it holds none of
//   them, so extending a half is one test per column (sixteen lanes at a time with AVX-512).
//   About 6,700 halves per side on a random square, against some 120,000 nodes of the full
//   search.
// - The bottom halves are chained in hash buckets and marked in a bitmap that only true
//   partners pass, so a top half walks a chain only for a transversal found. With AVX-512 the
//   map is indexed by a compact key (the ranks of the five-of-ten column and value sets and
//   the two diagonal bits: 2^18 bits, 32 KB, so it stays in the first-level cache), computed
//   for sixteen halves at a time by table permutes, and sixteen top halves test their
//   complements with one gather. Without it the map is indexed by the key itself (2^22 bits).
// Order: each level keeps its parents' order and tries columns ascending, so both lists are in
// lexicographic order; the chains are built back to front and keep it. So the result comes out
// in the order of the full search with no sort.
//
// Cells whose value is outside 0..9 are in no transversal; a square of order below 10 has none.
// A row holding a value twice blocks every column of that value once the value is used, just
// as the plain search does.
#include "cover/transversals.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__AVX512F__)
#include <immintrin.h>
#endif

namespace dlslab {
namespace {

constexpr int kHalfRows = kOrder / 2;
constexpr int kVectorLanes = 16;
constexpr unsigned kAllColumns = (1u << kOrder) - 1;
constexpr std::uint8_t kNoValue = 0xFF;
// The most halves five (four) rows can have: 10 * 9 * 8 * 7 * 6 (* 1) column choices.
constexpr int kMaxHalves = 30240;
constexpr int kMaxHalvesOf4 = 5040;
#if defined(__AVX512F__)
constexpr int kBucketBits = 14;  // short chains: the chains cost more than the probes here
#else
constexpr int kBucketBits = 11;
#endif
constexpr std::uint32_t kMainBit = 1u << 20;
constexpr std::uint32_t kAntiBit = 1u << 21;
constexpr std::uint32_t kKeyMask = (1u << 22) - 1;

#if defined(__AVX512F__)
// The compact key of a half packs the ranks (0..251) of its column set and of its value set,
// both five of ten, with its two diagonal bits: column rank << 10 | value rank << 2 | diagonals.
constexpr int kCompactKeys = 252 << 10;

// A five-of-ten set's rank is low_rank[its bits 0..4] + high_rank[its bits 5..9]: the sets
// are ranked by how many of their members are below 5, then by those members, then by the rest.
struct SplitRanks {
  std::array<std::int32_t, 32> low{};
  std::array<std::int32_t, 32> high{};
};

constexpr SplitRanks make_split_ranks() {
  SplitRanks ranks;
  std::array<int, 6> seen{};  // masks of each population count met so far
  std::array<int, 32> index{};
  for (int m = 0; m < 32; ++m) index[m] = seen[std::popcount(static_cast<unsigned>(m))]++;
  int offset = 0;
  for (int k = 0; k <= kHalfRows; ++k) {
    const int highs = seen[kHalfRows - k];  // high parts that complete k low members
    for (int m = 0; m < 32; ++m)
      if (std::popcount(static_cast<unsigned>(m)) == k) ranks.low[m] = offset + index[m] * highs;
    offset += seen[k] * highs;
  }
  for (int m = 0; m < 32; ++m) ranks.high[m] = index[m];
  return ranks;
}

constexpr SplitRanks kSplitRanks = make_split_ranks();
#endif

/// Reads cell (r, c) of the top-left 10 x 10 block as a usable value 0..9 or kNoValue.
std::uint8_t usable_value(const TLatinSquare& square, int r, int c) {
  if (square.order() < kOrder) return kNoValue;
  const int v = square[r][c];
  return v >= 0 && v < kOrder ? static_cast<std::uint8_t>(v) : kNoValue;
}

// The reference search's marks and output.
struct PlainSearch {
  std::array<std::array<std::uint8_t, kOrder>, kOrder> value{};
  bool diagonal_only = false;
  std::array<bool, kOrder> column_used{};
  std::array<bool, kOrder> value_used{};
  bool main_taken = false;
  bool anti_taken = false;
  TTransversal current{};
  TransversalsResult* result = nullptr;

  void search(int r) {
    if (r == kOrder) {
      if (diagonal_only && !(main_taken && anti_taken)) return;
      result->Transversals.push_back(current);
      ++result->Counts[current[0]];
      return;
    }
    for (int c = 0; c < kOrder; ++c) {
      const int v = value[r][c];
      if (v == kNoValue || column_used[c] || value_used[v]) continue;
      const bool on_main = c == r;
      const bool on_anti = r + c == kOrder - 1;
      if (diagonal_only && ((on_main && main_taken) || (on_anti && anti_taken))) continue;
      current[r] = c;
      column_used[c] = value_used[v] = true;
      const bool main_before = main_taken;
      const bool anti_before = anti_taken;
      if (diagonal_only) {
        main_taken = main_taken || on_main;
        anti_taken = anti_taken || on_anti;
      }
      search(r + 1);
      column_used[c] = value_used[v] = false;
      main_taken = main_before;
      anti_taken = anti_before;
    }
  }
};

void fill_starts(const TTransversalCounts& counts, TTransversalStarts& starts) {
  starts[0] = 0;
  for (int k = 0; k < kOrder; ++k) starts[k + 1] = starts[k] + counts[k];
}

}  // namespace

TransversalsResult GetTransversals(const TLatinSquare& square, bool diagonal_only) {
  TransversalsResult result;
  PlainSearch search;
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) search.value[r][c] = usable_value(square, r, c);
  search.diagonal_only = diagonal_only;
  search.result = &result;
  search.search(0);
  fill_starts(result.Counts, result.Starts);
  return result;
}

struct TransversalSearch::State {
  // Half transversals of one level, structure of arrays: key as in the file comment, and the
  // columns chosen so far, 4 bits per row of the half.
  struct Level {
    std::vector<std::uint32_t> key;
    std::vector<std::uint32_t> columns;
    int count = 0;
    explicit Level(int capacity) : key(capacity + kSlack), columns(capacity + kSlack) {}
  };
  // Room past the last half that a full-width store may scribble on.
  static constexpr int kSlack = 16;

  // add[r][c]: the key bits cell (r, c) takes; a half may take the cell when it holds none
  // of them. usable[r]: the columns of row r whose cell can be in a transversal.
  alignas(64) std::array<std::array<std::uint32_t, 16>, kOrder> add{};
  std::array<std::uint32_t, kOrder> usable{};

  Level top{kMaxHalves};
  Level bottom{kMaxHalves};
  Level scratch_a{kMaxHalvesOf4};
  Level scratch_b{kMaxHalvesOf4};
  std::vector<std::int32_t> next = std::vector<std::int32_t>(kMaxHalves);
  std::array<std::int32_t, 1 << kBucketBits> buckets{};
#if defined(__AVX512F__)
  // Bit k: some bottom half has compact key k (compact_keys). 32 KB, so it stays in the
  // first-level cache and is simply cleared after use.
  alignas(64) std::array<std::uint32_t, kCompactKeys / 32> present{};
  // The bottom halves' compact keys in list order; then those of the wanted complements of
  // the top halves that have partners, beside their list indices in hit_tops.
  std::vector<std::uint32_t> compact_list = std::vector<std::uint32_t>(kMaxHalves + kSlack);
  std::vector<std::int32_t> hit_tops = std::vector<std::int32_t>(kMaxHalves + kSlack);
#else
  // Bit k: some bottom half has key k. Half a megabyte, so it is cleared bit by bit after use.
  std::vector<std::uint64_t> present = std::vector<std::uint64_t>((kKeyMask + 1) / 64);
#endif

  void load(const TLatinSquare& square, bool diagonal_only) {
    for (int r = 0; r < kOrder; ++r) {
      usable[r] = 0;
      add[r].fill(0);
      for (int c = 0; c < kOrder; ++c) {
        const std::uint8_t v = usable_value(square, r, c);
        if (v == kNoValue) continue;
        usable[r] |= 1u << c;
        std::uint32_t bits = 1u << c | 1u << (kOrder + v);
        if (diagonal_only) {
          if (c == r) bits |= kMainBit;
          if (r + c == kOrder - 1) bits |= kAntiBit;
        }
        add[r][c] = bits;
      }
    }
  }

  // Extends every half of in by one cell of row r, in order, columns ascending, so a list in
  // lexicographic order stays so.
  void extend(const Level& in, int r, Level& out) const {
    const int shift = 4 * (r % kHalfRows);
    int n = 0;
    // Local pointers: stores through the vectors' own would make the compiler reload them.
    const std::uint32_t* const in_key = in.key.data();
    const std::uint32_t* const in_columns = in.columns.data();
    std::uint32_t* const out_key = out.key.data();
    std::uint32_t* const out_columns = out.columns.data();
    const int count = in.count;
#if defined(__AVX512F__)
    const __m512i add_row = _mm512_load_si512(add[r].data());
    const __m512i column_bits =
        _mm512_sllv_epi32(_mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 0, 0, 0),
                          _mm512_set1_epi32(shift));
    const __mmask16 usable_row = static_cast<__mmask16>(usable[r]);
    for (int i = 0; i < count; ++i) {
      const __m512i key = _mm512_set1_epi32(static_cast<int>(in_key[i]));
      const __mmask16 ok = _mm512_mask_testn_epi32_mask(usable_row, key, add_row);
      _mm512_storeu_si512(out_key + n,
                          _mm512_maskz_compress_epi32(ok, _mm512_or_si512(key, add_row)));
      _mm512_storeu_si512(
          out_columns + n,
          _mm512_maskz_compress_epi32(
              ok,
              _mm512_or_si512(_mm512_set1_epi32(static_cast<int>(in_columns[i])), column_bits)));
      n += std::popcount(static_cast<unsigned>(ok));
    }
#else
    // Every half of a level uses as many columns, so on a square without unusable cells the
    // loop over the free columns runs equally often for each and its branch is predictable;
    // the store is unconditional and only the count moves on.
    const std::uint32_t usable_row = usable[r];
    const std::array<std::uint32_t, 16> add_row = add[r];
    for (int i = 0; i < count; ++i) {
      const std::uint32_t key = in_key[i];
      const std::uint32_t columns = in_columns[i];
      for (std::uint32_t free = ~key & usable_row; free != 0; free &= free - 1) {
        const int c = std::countr_zero(free);
        out_key[n] = key | add_row[c];
        out_columns[n] = columns | static_cast<std::uint32_t>(c) << shift;
        n += static_cast<int>((key & add_row[c]) == 0);
      }
    }
#endif
    out.count = n;
  }

  // All halves over rows first..first+4 into out, in lexicographic order.
  void enumerate_half(int first, Level& out) {
    scratch_a.key[0] = 0;
    scratch_a.columns[0] = 0;
    scratch_a.count = 1;
    extend(scratch_a, first, scratch_b);
    extend(scratch_b, first + 1, scratch_a);
    extend(scratch_a, first + 2, scratch_b);
    extend(scratch_b, first + 3, scratch_a);
    extend(scratch_a, first + 4, out);
  }

  static std::uint32_t bucket_of(std::uint32_t key) {
    return (key * 0x9E3779B1u) >> (32 - kBucketBits);
  }

  // Appends the transversals made of the top half with columns top_columns and each bottom
  // half of bucket b whose key is wanted, in list order.
  void emit_partners(std::uint32_t top_columns, std::uint32_t wanted, std::uint32_t b,
                     TTransversalCounts& counts, TTransversalsTable& table) const {
    for (std::int32_t i = buckets[b]; i >= 0; i = next[i]) {
      if (bottom.key[i] != wanted) continue;
      TTransversal& t = table.Items.emplace_back();
      for (int r = 0; r < kHalfRows; ++r) {
        t[r] = static_cast<int>(top_columns >> (4 * r) & 15);
        t[kHalfRows + r] = static_cast<int>(bottom.columns[i] >> (4 * r) & 15);
      }
      ++counts[t[0]];
    }
  }

#if defined(__AVX512F__)
  // Sixteen unsigned lanes with the compiler's own operators (GCC 12 warns inside the
  // intrinsics of the plain shifts).
  using Lanes = std::uint32_t __attribute__((vector_size(64)));

  // The compact keys of sixteen halves' keys.
  static Lanes compact_keys(Lanes key) {
    const __m512i low_a = _mm512_loadu_si512(kSplitRanks.low.data());
    const __m512i low_b = _mm512_loadu_si512(kSplitRanks.low.data() + 16);
    const __m512i high_a = _mm512_loadu_si512(kSplitRanks.high.data());
    const __m512i high_b = _mm512_loadu_si512(kSplitRanks.high.data() + 16);
    // The table lookups use only the low five bits of each index.
    const auto rank = [&](Lanes set) {
      return Lanes(_mm512_permutex2var_epi32(low_a, __m512i(set), low_b)) +
             Lanes(_mm512_permutex2var_epi32(high_a, __m512i(set >> 5), high_b));
    };
    return rank(key) << 10 | rank(key >> kOrder) << 2 | key >> 20;
  }

  // Every bottom half is marked in a bitmap by its compact key and chained in a hash bucket;
  // sixteen top halves at a time look the compact keys of their complements up in the bitmap,
  // which only true partners pass, so the chains are walked only for transversals found.
  void join(bool diagonal_only, TTransversalCounts& counts, TTransversalsTable& table) {
    buckets.fill(-1);
    const std::uint32_t* const bottom_key = bottom.key.data();
    std::uint32_t* const compact = compact_list.data();
    for (int i = 0; i < bottom.count; i += kVectorLanes)
      _mm512_storeu_si512(compact + i,
                          __m512i(compact_keys(Lanes(_mm512_loadu_si512(bottom_key + i)))));
    // Pushing from the back leaves every chain in list order.
    for (int i = bottom.count - 1; i >= 0; --i) {
      const std::uint32_t k = compact[i];
      const std::uint32_t b = bucket_of(k);
      next[i] = buckets[b];
      buckets[b] = i;
      present[k / 32] |= 1u << (k % 32);
    }
    const std::uint32_t key_mask = diagonal_only ? kKeyMask : kKeyMask & ~(kMainBit | kAntiBit);
    const std::uint32_t* const top_key = top.key.data();
    const __m512i lane_index =
        _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    int hit_count = 0;
    for (int j0 = 0; j0 < top.count; j0 += kVectorLanes) {
      const int left = top.count - j0;
      const __mmask16 lanes =
          left >= kVectorLanes ? __mmask16{0xFFFF} : static_cast<__mmask16>((1u << left) - 1);
      const Lanes k = compact_keys(~Lanes(_mm512_loadu_si512(top_key + j0)) & key_mask);
      const __m512i words = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes,
                                                        __m512i(k >> 5), present.data(), 4);
      const Lanes bit = (Lanes{} + 1u) << (k & 31);
      const __mmask16 hits = _mm512_mask_test_epi32_mask(lanes, words, __m512i(bit));
      // Collected without a branch: only about one top half in sixty has partners.
      _mm512_mask_compressstoreu_epi32(hit_tops.data() + hit_count, hits,
                                       _mm512_add_epi32(_mm512_set1_epi32(j0), lane_index));
      _mm512_mask_compressstoreu_epi32(compact + hit_count, hits, __m512i(k));
      hit_count += std::popcount(static_cast<unsigned>(hits));
    }
    for (int h = 0; h < hit_count; ++h) {
      const int j = hit_tops[h];
      emit_partners(top.columns[j], ~top_key[j] & key_mask, bucket_of(compact[h]), counts, table);
    }
    present.fill(0);
  }
#else
  // Every bottom half is marked in a bitmap by its key and chained in a hash bucket; a top
  // half looks its complement up in the bitmap, which only true partners pass, so the chains
  // are walked only for transversals found.
  void join(bool diagonal_only, TTransversalCounts& counts, TTransversalsTable& table) {
    buckets.fill(-1);
    // Pushing from the back leaves every chain in list order.
    for (int i = bottom.count - 1; i >= 0; --i) {
      const std::uint32_t key = bottom.key[i];
      const std::uint32_t b = bucket_of(key);
      next[i] = buckets[b];
      buckets[b] = i;
      present[key / 64] |= std::uint64_t{1} << (key % 64);
    }
    const std::uint32_t key_mask = diagonal_only ? kKeyMask : kKeyMask & ~(kMainBit | kAntiBit);
    for (int j = 0; j < top.count; ++j) {
      const std::uint32_t wanted = ~top.key[j] & key_mask;
      if ((present[wanted / 64] >> (wanted % 64) & 1) == 0) continue;
      emit_partners(top.columns[j], wanted, bucket_of(wanted), counts, table);
    }
    // Volatile keeps the compiler from turning this into a (slow) scatter.
    volatile std::uint64_t* words = present.data();
    for (int i = 0; i < bottom.count; ++i) words[bottom.key[i] / 64] = 0;
  }
#endif
};

TransversalSearch::TransversalSearch() = default;
TransversalSearch::~TransversalSearch() = default;
TransversalSearch::TransversalSearch(TransversalSearch&&) noexcept = default;
TransversalSearch& TransversalSearch::operator=(TransversalSearch&&) noexcept = default;

void TransversalSearch::GetTransversalsFast(const TLatinSquare& square, bool diagonal_only,
                                            TTransversalStarts& starts, TTransversalCounts& counts,
                                            TTransversalsTable& table) {
  if (!state_) state_ = std::make_unique<State>();  // a megabyte: only once it is used
  State& s = *state_;
  counts.fill(0);
  table.Items.clear();
  s.load(square, diagonal_only);
  s.enumerate_half(0, s.top);
  s.enumerate_half(kHalfRows, s.bottom);
  s.join(diagonal_only, counts, table);
  table.Count = static_cast<int>(table.Items.size());
  fill_starts(counts, starts);
}

bool TransversalsIntersect(const TTransversal& a, const TTransversal& b) {
  for (int r = 0; r < kOrder; ++r)
    if (a[r] == b[r] && a[r] >= 0) return true;
  return false;
}

bool TransversalsEqual(const TTransversal& a, const TTransversal& b) { return a == b; }

TLatinSquare GetTransversalsCoverageMap(const TTransversalsTable& table) {
  TLatinSquare map(kOrder);
  for (int i = 0; i < kOrder * kOrder; ++i) map.data()[i] = 0;
  const int count = std::min(table.Count, static_cast<int>(table.Items.size()));
  for (int i = 0; i < count; ++i)
    for (int r = 0; r < kOrder; ++r) {
      const int c = table.Items[i][r];
      if (c >= 0 && c < kOrder) ++map[r][c];
    }
  return map;
}

}  // namespace dlslab
