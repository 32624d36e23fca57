#include "fill/brown_dls.h"

#include <array>
#include <bit>
#include <cstdint>

#include "fill/dls_candidates.h"
#include "model/splitmix.h"

// The symmetry splits the cells into 25 orbits of four, (i, j), (i, 9 - j), (P(i), j) and
// (P(i), 9 - j) with P the row pairing, whose values are v, 9 - v, 9 - v and v. No two cells of
// an orbit that share a line would need the same value, so a square that keeps the symmetry is
// a DLS as soon as every orbit is filled with candidates of its first cell.
//
// An attempt visits the orbits row by row (rows 0, 1, 2, 5 and 7, whose partners are the other
// five, columns 0..4), gives each a random candidate of its cell, and after every placement
// fills the cells left with a single candidate (with their orbits) until none is left. A cell
// left without candidates ends the attempt; the next one goes on drawing from the same stream.
// Each cell keeps its candidates as a 10-bit set (DlsCandidates).
//
// The draws come from splitmix64 started at the seed, so a seed names one square everywhere.
// The squares are not drawn uniformly from the squares with this symmetry: the heuristic filling
// and the restarts favour squares that are easy to reach.
namespace dlslab {
namespace {

constexpr int kCells = kOrder * kOrder;

/// The orbit of a cell: itself, its mirror in the row, the cell below in the paired row and
/// that one's mirror; the second and third take 9 - v.
constexpr std::array<std::array<std::uint8_t, 4>, kCells> kOrbit = [] {
  std::array<std::array<std::uint8_t, 4>, kCells> orbit{};
  for (int a = 0; a < kCells; ++a) {
    const int i = a / 10, j = a % 10, p = kBrownRowPair[i];
    orbit[a] = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(i * 10 + 9 - j),
                static_cast<std::uint8_t>(p * 10 + j), static_cast<std::uint8_t>(p * 10 + 9 - j)};
  }
  return orbit;
}();

/// The first cells of the orbits, in visiting order.
constexpr std::array<std::uint8_t, 25> kVisit = [] {
  std::array<std::uint8_t, 25> visit{};
  int n = 0;
  for (const int i : {0, 1, 2, 5, 7})
    for (int j = 0; j < 5; ++j) visit[n++] = static_cast<std::uint8_t>(i * 10 + j);
  return visit;
}();

class BrownFiller {
 public:
  bool attempt(Splitmix& random) {
    cand_.reset();
    for (const int k : kVisit) {
      std::uint32_t cand = cand_.cand(k);
      if (cand == kFilledCell) continue;
      for (std::uint32_t pick = random.below(static_cast<std::uint32_t>(std::popcount(cand)));
           pick > 0; --pick)
        cand &= cand - 1;
      if (!place_orbit(k, std::countr_zero(cand))) return false;
      for (int q = cand_.first_single(); q >= 0; q = cand_.first_single())
        if (!place_orbit(q, std::countr_zero(cand_.cand(q)))) return false;
    }
    return true;
  }

  [[nodiscard]] int value(int cell) const { return value_[cell]; }

 private:
  /// Fills the orbit of q from value v of q; false when that leaves a cell dead.
  bool place_orbit(int q, int v) {
    const std::array<std::uint8_t, 4>& orbit = kOrbit[q];
    const int values[4] = {v, 9 - v, 9 - v, v};
    for (int k = 0; k < 4; ++k) {
      // The symmetry keeps the orbit's candidates alike; kept as a guard.
      if ((cand_.cand(orbit[k]) >> values[k] & 1) == 0) return false;
      value_[orbit[k]] = static_cast<std::int8_t>(values[k]);
      cand_.place(orbit[k], 1u << values[k]);
    }
    return !cand_.dead();
  }

  DlsCandidates cand_;
  std::array<std::int8_t, kCells> value_;
};

}  // namespace

TLatinSquare brown_dls_square(std::uint64_t seed) {
  Splitmix random(seed);
  BrownFiller filler;
  while (!filler.attempt(random)) {
  }
  TLatinSquare square(kOrder);
  for (int cell = 0; cell < kCells; ++cell) square.data()[cell] = filler.value(cell);
  return square;
}

}  // namespace dlslab
