#pragma once

#include <cstdint>

#include "fill/heuristic_fill.h"
#include "model/random.h"
#include "test_squares.h"

namespace dlslab::test {

/// square with `count` cells emptied, chosen by the generator from seed.
inline TLatinSquare empty_cells(TLatinSquare square, int count, std::uint32_t seed) {
  RandSeed = seed;
  for (int emptied = 0; emptied < count;) {
    int& cell = square.data()[Random(kOrder * kOrder)];
    if (cell >= 0) {
      cell = kEmpty;
      ++emptied;
    }
  }
  return square;
}

}  // namespace dlslab::test
