#pragma once

#include "model/types.h"

namespace dlslab {

/// Number of the 100 ordered value pairs (a[r][c], b[r][c]) of two order-10 squares that never
/// occur; 0 means orthogonal. Cells empty in either square, and pairs outside 0..99, count
/// nothing.
[[nodiscard]] int OrthogonalityDefect(const TLatinSquare& a, const TLatinSquare& b);

}  // namespace dlslab
