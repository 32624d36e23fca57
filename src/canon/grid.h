#pragma once

#include <array>
#include <cstdint>

#include "model/types.h"

namespace dlslab {

/// An order-10 square packed into 100 bytes, row-major; -1 marks an empty cell. The canonical
/// form engines work on this instead of TLatinSquare so that a work square is two cache lines.
using Grid = std::array<std::int8_t, kOrder * kOrder>;

/// The order-10 square's cells as a Grid; `square` must be of order 10.
[[nodiscard]] Grid to_grid(const TLatinSquare& square);
/// An order-10 square holding the grid's cells.
[[nodiscard]] TLatinSquare to_square(const Grid& grid);

/// True when every row and every column of the complete grid holds each of 0..9 once.
[[nodiscard]] bool is_latin_grid(const Grid& grid);

/// The grid relabelled so that its first row reads 0..9: each value becomes its position in
/// the first row. A map is built afresh per call: a value missing from the first row becomes 0,
/// a value met twice takes its last position, and empty cells stay empty.
[[nodiscard]] Grid relabel_by_first_row(const Grid& grid);

/// Lexicographic row-major order; -1 compares like any other value.
[[nodiscard]] bool grid_less(const Grid& a, const Grid& b);

}  // namespace dlslab
