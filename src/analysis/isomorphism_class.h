#pragma once

#include "canon/canonical_forms.h"
#include "collection/squares_collection.h"
#include "model/types.h"

namespace dlslab {

/// Every distinct square equivalent to the order-10 square, relabelled by its first row, in
/// the order the engine walks the candidates (flip masks ascending, arrangements in swap-list
/// order, then the square, its transpose and their left-right flips), each with the number of
/// candidates that gave it. Empty for a square of another order.
[[nodiscard]] TSquaresCollection GetIsomorphismClass(CanonEngine& engine,
                                                     const TLatinSquare& square);
/// The same on a fresh engine.
[[nodiscard]] TSquaresCollection GetIsomorphismClass(const TLatinSquare& square);

}  // namespace dlslab
