#pragma once

#include <QFont>
#include <QPainter>
#include <cstdint>
#include <span>

#include "model/latin_square_class.h"

// The player's pencil marks, painted small inside their cells over the square view. They are
// drawn on the screen only, after the board: the board's own picture never changes for them.
namespace dlslab::render {

/// Marks are not written smaller than this many pixels.
inline constexpr int kMinMarkFontPx = 7;

/// How the marks of a cell are laid out: a grid of columns x rows slots within the cell, `inset`
/// pixels clear of its edge (where the cursor's band goes), labels `font_px` pixels high.
/// By value, value v has its own slot (column v % columns, row v / columns) so that a candidate
/// stands at the same place in every cell; where that would write the marks smaller than
/// kMinMarkFontPx (high orders, small cells) the cell's marks follow each other in reading
/// order instead, and when there are more of them than places the last slot shows "+".
struct MarkLayout {
  bool by_value = true;
  int columns = 1;
  int rows = 1;
  int font_px = kMinMarkFontPx;
  int inset = 0;
};

/// The layout of `marked` marks in a cell of cell_size pixels of a square of that order.
[[nodiscard]] MarkLayout mark_layout(int order, int cell_size, int marked);

/// The marks' upright face at a height of px pixels.
[[nodiscard]] QFont mark_font(int px);

/// Paints `marks` (row by row, bit v for value v) into the empty cells of the first square of
/// the model's view on a width x height surface.
void draw_pencil_marks(QPainter& painter, const TLatinSquareClass& model, int width, int height,
                       std::span<const std::uint32_t> marks);

}  // namespace dlslab::render
