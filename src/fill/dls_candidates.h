#pragma once

#include <array>
#include <bit>
#include <cstdint>

// The candidate sets of an order-10 DLS being filled, cells numbered row by row. A cell's peers
// are the cells that share its row, its column or a diagonal it lies on, and so may not hold
// its value.
namespace dlslab {

inline constexpr int kDlsCells = 100;
/// Every value a cell can take, one bit each.
inline constexpr std::uint16_t kAllCandidates = 0x3FF;
/// What a filled cell holds instead of candidates: neither empty nor a single.
inline constexpr std::uint16_t kFilledCell = 0xC000;

/// Whether cells a and b (0..99) are different and share a row, a column or a diagonal.
constexpr bool shares_line(int a, int b) {
  const int ra = a / 10, ca = a % 10, rb = b / 10, cb = b % 10;
  return a != b &&
         (ra == rb || ca == cb || (ra == ca && rb == cb) || (ra + ca == 9 && rb + cb == 9));
}

/// The peers of one cell: 18 in its row and column, up to 9 more on its diagonals.
struct PeerList {
  std::array<std::uint8_t, 27> cell;
  int count;
};

/// kDlsPeers[a]: the peers of cell a in ascending order.
inline constexpr std::array<PeerList, kDlsCells> kDlsPeers = [] {
  std::array<PeerList, kDlsCells> peers{};
  for (int a = 0; a < kDlsCells; ++a)
    for (int b = 0; b < kDlsCells; ++b)
      if (shares_line(a, b)) peers[a].cell[peers[a].count++] = static_cast<std::uint8_t>(b);
  return peers;
}();

/// The first set bit of the 128-bit set at or after bit p, else the first set bit, else -1.
inline int next_from(const std::uint64_t (&set)[2], int p) {
  if (p < 64) {
    const std::uint64_t w = set[0] & (~0ull << p);
    if (w != 0) return std::countr_zero(w);
    if (set[1] != 0) return 64 + std::countr_zero(set[1]);
  } else {
    const std::uint64_t w = set[1] & (~0ull << (p - 64));
    if (w != 0) return 64 + std::countr_zero(w);
  }
  if (set[0] != 0) return std::countr_zero(set[0]);
  if (set[1] != 0) return 64 + std::countr_zero(set[1]);
  return -1;
}

/// Each cell's candidates as a 10-bit set, updated peer by peer: placing a value takes its bit
/// out of the cell's peers and notes the cells left with one candidate (singles) or none (dead).
class DlsCandidates {
 public:
  void reset() {
    cand_.fill(kAllCandidates);
    single_[0] = single_[1] = 0;
    dead_ = false;
  }
  /// The candidates of cell q, or kFilledCell.
  [[nodiscard]] std::uint32_t cand(int q) const { return cand_[q]; }
  /// Whether some empty cell has no candidate left.
  [[nodiscard]] bool dead() const { return dead_; }
  /// The first single at or after cell p, else the first single, else -1.
  [[nodiscard]] int next_single(int p) const { return next_from(single_, p); }
  /// The first single, else -1.
  [[nodiscard]] int first_single() const {
    if (single_[0] != 0) return std::countr_zero(single_[0]);
    if (single_[1] != 0) return 64 + std::countr_zero(single_[1]);
    return -1;
  }

  /// Fills cell q with the value whose bit is `bit`.
  void place(int q, std::uint32_t bit) {
    cand_[q] = kFilledCell;
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
  std::array<std::uint16_t, kDlsCells> cand_;
  std::uint64_t single_[2];
  bool dead_;
};

}  // namespace dlslab
