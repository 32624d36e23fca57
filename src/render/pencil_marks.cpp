#include "render/pencil_marks.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <bit>
#include <cmath>

#include "model/square_view.h"

namespace dlslab::render {
namespace {

const QColor kMarkColour(40, 80, 170);

/// The widest label of the order: as many zeros as its largest value has digits.
QString widest_label(int order) {
  return QString(static_cast<int>(QString::number(std::max(order - 1, 0)).size()), '0');
}

/// The largest pixel size at which `label` fits a slot of w x h pixels; 0 when none does.
int fitting_px(int w, int h, const QString& label) {
  for (int px = std::min(h, 64); px > 0; --px) {
    const QFontMetrics metrics(mark_font(px));
    if (metrics.ascent() <= h && metrics.horizontalAdvance(label) <= w) return px;
  }
  return 0;
}

/// The smallest grid of about square shape holding `count` capacity.
void square_grid(int count, int& columns, int& rows) {
  columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count)))));
  rows = std::max(1, (count + columns - 1) / columns);
}

}  // namespace

QFont mark_font(int px) {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Liberation Sans", "Arial"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(px, 1));
  return font;
}

MarkLayout mark_layout(int order, int cell_size, int marked) {
  MarkLayout layout;
  // Clear of the cursor's band (cell_size / 14, at least 2) and of the cell's outline.
  layout.inset = std::max(2, cell_size / 14) + 2;
  const int room = std::max(cell_size - 2 * layout.inset, 1);
  const QString label = widest_label(order);
  square_grid(order, layout.columns, layout.rows);
  layout.font_px = fitting_px(room / layout.columns, room / layout.rows, label);
  if (layout.font_px >= kMinMarkFontPx) return layout;
  layout.by_value = false;
  square_grid(std::max(marked, 1), layout.columns, layout.rows);
  layout.font_px = fitting_px(room / layout.columns, room / layout.rows, label);
  if (layout.font_px >= kMinMarkFontPx) return layout;
  // Too many for the cell at the smallest size: as many capacity as fit it.
  layout.font_px = kMinMarkFontPx;
  const QFontMetrics metrics(mark_font(kMinMarkFontPx));
  layout.columns = std::max(1, room / std::max(metrics.horizontalAdvance(label), 1));
  layout.rows = std::max(1, room / std::max(metrics.ascent(), 1));
  return layout;
}

void draw_pencil_marks(QPainter& painter, const TLatinSquareClass& model, int width, int height,
                       std::span<const std::uint32_t> marks) {
  const int n = model.GetOrder();
  if (n <= 0 || width <= 0 || height <= 0 || marks.size() != static_cast<std::size_t>(n * n))
    return;
  const int s = GetCellSize(model, width, height);
  painter.save();
  painter.setPen(kMarkColour);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      const std::uint32_t set = marks[r * n + c];
      if (set == 0 || model.FirstSquare[r][c] != kEmpty) continue;
      const int marked = std::popcount(set);
      const MarkLayout layout = mark_layout(n, s, marked);
      const int room = s - 2 * layout.inset;
      const int slot_w = room / layout.columns, slot_h = room / layout.rows;
      // The grid centred in the cell, so that the leftover pixels go to both sides.
      const int left = kViewMargin + c * s + layout.inset + (room - slot_w * layout.columns) / 2;
      const int top = kViewMargin + r * s + layout.inset + (room - slot_h * layout.rows) / 2;
      painter.setFont(mark_font(layout.font_px));
      const QFontMetrics metrics = painter.fontMetrics();
      const int capacity = layout.columns * layout.rows;
      int slot = 0;
      for (std::uint32_t m = set; m != 0; m &= m - 1, ++slot) {
        const int value = std::countr_zero(m);
        const int at = layout.by_value ? value : slot;
        const bool more = !layout.by_value && marked > capacity && slot == capacity - 1;
        if (!layout.by_value && slot == capacity) break;
        const QString text = more ? QString("+") : QString::number(value);
        const int x =
            left + (at % layout.columns) * slot_w + (slot_w - metrics.horizontalAdvance(text)) / 2;
        const int y = top + (at / layout.columns) * slot_h + (slot_h + metrics.ascent()) / 2;
        painter.drawText(x, y - 1, text);
        if (more) break;
      }
    }
  }
  painter.restore();
}

}  // namespace dlslab::render
