#pragma once

#include <cstdint>
#include <vector>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/random.h"

namespace dlslab::bench {

/// An order-10 DLS from "Random search v3" with the given seed.
inline TLatinSquare RandomDiagonalLatinSquare(std::uint32_t seed) {
  cmd::Context ctx;
  RandSeed = seed;
  cmd::RandomSearchV3MenuItemClick(ctx);
  return ctx.model.FirstSquare;
}

/// `count` order-10 DLS from "Random search v3" with the seeds 1..count, as the benchmarks'
/// common random input.
inline std::vector<TLatinSquare> RandomDiagonalLatinSquares(int count) {
  std::vector<TLatinSquare> out;
  out.reserve(count);
  for (int seed = 1; seed <= count; ++seed)
    out.push_back(RandomDiagonalLatinSquare(static_cast<std::uint32_t>(seed)));
  return out;
}

}  // namespace dlslab::bench
