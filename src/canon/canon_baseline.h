#pragma once

#include "canon/grid.h"
#include "model/types.h"

namespace dlslab {

/// The canonical form by brute force: builds each of the 15360 candidates of the order-10
/// square in full, relabels it by its first row (a fresh map: a value missing from the first
/// row becomes 0, empty cells stay empty) and keeps the least. The baseline the engine is
/// measured and checked against.
[[nodiscard]] Grid canonical_form_brute_force(const Grid& square);
[[nodiscard]] TLatinSquare canonical_form_brute_force(const TLatinSquare& square);

}  // namespace dlslab
