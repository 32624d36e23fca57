#pragma once

#include <array>
#include <cstdint>

// The peers of a cell of an order-10 DLS, cells numbered row by row: the cells that share its
// row, its column or a diagonal it lies on, and so may not hold its value.
namespace dlslab {

inline constexpr int kDlsCells = 100;

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

}  // namespace dlslab
