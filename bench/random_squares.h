#pragma once

#include <cstdint>
#include <vector>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/random.h"

namespace dlslab::bench {

/// `count` order-10 DLS from "Random search v3" with the seeds 1..count, as the benchmarks'
/// common random input.
inline std::vector<TLatinSquare> RandomDiagonalLatinSquares(int count) {
  std::vector<TLatinSquare> out;
  out.reserve(count);
  for (int seed = 1; seed <= count; ++seed) {
    cmd::Context ctx;
    RandSeed = static_cast<std::uint32_t>(seed);
    cmd::RandomSearchV3MenuItemClick(ctx);
    out.push_back(ctx.model.FirstSquare);
  }
  return out;
}

}  // namespace dlslab::bench
