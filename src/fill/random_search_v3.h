#pragma once

#include <cstdint>

#include "model/isa_path.h"
#include "model/types.h"

// The square "Random search v3" fills on an order-10 model after the generator is seeded: the
// generator of dlslab-cli generate and of the searches. The engine follows the plain attempts
// draw for draw on flat fixed-size storage, with a kernel per instruction-set path.
namespace dlslab {

/// The DLS of order 10 that repeated RandomFillV2 attempts fill from RandSeed = seed (past the
/// command's thousand attempts they go on); RandSeed is left where those attempts leave it.
[[nodiscard]] TLatinSquare random_search_v3_square(std::uint32_t seed,
                                                   IsaPath path = default_isa_path());

/// The same through RandomFillV2 on a square model: the baseline of the engine.
[[nodiscard]] TLatinSquare random_search_v3_square_baseline(std::uint32_t seed);

}  // namespace dlslab
