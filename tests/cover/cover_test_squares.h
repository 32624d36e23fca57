#pragma once

#include <cstdint>
#include <vector>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/ls_data_structs.h"
#include "model/random.h"
#include "model/square_catalogue.h"

namespace dlslab::test {

/// The twenty embedded squares and `random` DLS from "Random search v3" with seeds 1, 2, ...
inline std::vector<TLatinSquare> cover_test_squares(int random) {
  std::vector<TLatinSquare> squares;
  for (const SpecialSquare& special : kSpecialSquares)
    squares.push_back(StringToSquare(special.digits));
  for (int seed = 1; seed <= random; ++seed) {
    RandSeed = static_cast<std::uint32_t>(seed);
    cmd::Context ctx;
    cmd::RandomSearchV3MenuItemClick(ctx);
    squares.push_back(ctx.model.FirstSquare);
  }
  return squares;
}

/// The cyclic square (r + c) mod 10: a Latin square without any transversal.
inline TLatinSquare cyclic_square() {
  TLatinSquare square(kOrder);
  for (int r = 0; r < kOrder; ++r)
    for (int c = 0; c < kOrder; ++c) square[r][c] = (r + c) % kOrder;
  return square;
}

}  // namespace dlslab::test
