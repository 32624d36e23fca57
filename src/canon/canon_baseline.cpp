#include "canon/canon_baseline.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace dlslab {
namespace {

constexpr int kN = kOrder;

}  // namespace

Grid canonical_form_brute_force(const Grid& square) {
  constexpr int h = kN / 2;
  Grid best = relabel_by_first_row(square);
  std::array<int, h> pairs{0, 1, 2, 3, 4};
  do {
    for (unsigned mask = 0; mask < (1u << h); ++mask) {
      // s[t] is the line of the square that lands on line t; mirror lines stay mirrored.
      std::array<int, kN> s{};
      for (int t = 0; t < h; ++t) {
        s[t] = (mask >> t) & 1u ? kN - 1 - pairs[t] : pairs[t];
        s[kN - 1 - t] = kN - 1 - s[t];
      }
      std::array<Grid, 4> maps;  // arranged, transposed, flipped, transposed and flipped
      for (int i = 0; i < kN; ++i)
        for (int j = 0; j < kN; ++j) maps[0][i * kN + j] = square[s[i] * kN + s[j]];
      for (int i = 0; i < kN; ++i) {
        for (int j = 0; j < kN; ++j) {
          maps[1][i * kN + j] = maps[0][j * kN + i];
          maps[2][i * kN + j] = maps[0][i * kN + kN - 1 - j];
          maps[3][i * kN + j] = maps[0][(kN - 1 - j) * kN + i];
        }
      }
      for (const Grid& candidate : maps) {
        const Grid c = relabel_by_first_row(candidate);
        if (std::lexicographical_compare(c.begin(), c.end(), best.begin(), best.end())) best = c;
      }
    }
  } while (std::next_permutation(pairs.begin(), pairs.end()));
  return best;
}

TLatinSquare canonical_form_brute_force(const TLatinSquare& square) {
  assert(square.order() == kN);
  return to_square(canonical_form_brute_force(to_grid(square)));
}

}  // namespace dlslab
