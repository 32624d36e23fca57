#pragma once

#include <cstdint>

#include "fill/heuristic_fill.h"
#include "model/random.h"

namespace dlslab::test {

/// A complete DLS of order 10 made by the random search from a fixed seed.
inline TLatinSquare RandomDls(std::uint32_t seed) {
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  model.ClearSquares();
  RandSeed = seed;
  do RandomFillV2(model);
  while (model.GetEmptyCellsCount() != 0);
  return model.FirstSquare;
}

/// square with `count` cells emptied, chosen by the generator from seed.
inline TLatinSquare EmptyCells(TLatinSquare square, int count, std::uint32_t seed) {
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
