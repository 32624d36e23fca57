// The fast transversal enumeration for the scalar path (the vector paths enumerate by column
// sets, see transversal_column_sets.inc).
//
// It meets in the middle. A transversal splits into a top half (rows 0..4)
// and a bottom half (rows 5..9) that use complementary sets of five columns and five values,
// and, for diagonal transversals, share out the one main-diagonal and the one anti-diagonal
// cell. A half is summed up by its key
//
//   key = columns (bits 0..9) | values << 10 | main-diagonal cell << 20 | anti-diagonal << 21
//
// and a top half completes exactly with the bottom halves whose key is its complement.
// - Each side is built level by level (one row at a time) as flat lists of keys and packed
//   columns; cell (r, c) adds fixed key bits, and a half may take it when it holds none of
//   them, so extending a half is one test per column.
//   About 6,700 halves per side on a random square, against some 120,000 nodes of the full
//   search.
// - The bottom halves are chained in hash buckets and marked in a bitmap (indexed by the key,
//   2^22 bits) that only true partners pass, so a top half walks a chain only for a
//   transversal found.
// Order: each level keeps its parents' order and tries columns ascending, so both lists are in
// lexicographic order; the chains are built back to front and keep it. So the result comes out
// in the order of the full search with no sort.
//
// Cells whose value is outside 0..9 are in no transversal; a square of order below 10 has none.
// A row holding a value twice blocks every column of that value once the value is used, just
// as the plain search does.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "cover/transversal_kernels.h"

namespace dlslab::transversal_kernels::scalar {
namespace {

constexpr int kHalfRows = kOrder / 2;
// The most halves five (four) rows can have: 10 * 9 * 8 * 7 * 6 (* 1) column choices.
constexpr int kMaxHalves = 30240;
constexpr int kMaxHalvesOf4 = 5040;
constexpr int kBucketBits = 11;
constexpr std::uint32_t kMainBit = 1u << 20;
constexpr std::uint32_t kAntiBit = 1u << 21;
constexpr std::uint32_t kKeyMask = (1u << 22) - 1;

class MeetInTheMiddle final : public Kernel {
 public:
  void run(const TLatinSquare& square, bool diagonal_only, TTransversalCounts& counts,
           TTransversalsTable& table) override {
    counts.fill(0);
    table.Items.clear();
    load(square, diagonal_only);
    enumerate_half(0, top);
    enumerate_half(kHalfRows, bottom);
    join(diagonal_only, counts, table);
  }

 private:
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
  // Bit k: some bottom half has key k. Half a megabyte, so it is cleared bit by bit after use.
  std::vector<std::uint64_t> present = std::vector<std::uint64_t>((kKeyMask + 1) / 64);

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
};

}  // namespace

std::unique_ptr<Kernel> make() { return std::make_unique<MeetInTheMiddle>(); }

}  // namespace dlslab::transversal_kernels::scalar
