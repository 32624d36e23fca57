#include "app/board_keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "cmd/crossword_game.h"
#include "cmd/view_commands.h"

namespace dlslab::app {

bool handle_board_key(cmd::Context& ctx, const QKeyEvent& event) {
  const int key = event.key();
  const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
  if (held == Qt::ControlModifier && key >= Qt::Key_0 && key <= Qt::Key_9) {
    cmd::PaintBoxKeyMark(ctx, key - Qt::Key_0);
    return true;
  }
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  using M = cmd::CursorMove;
  auto move = [&ctx](M m) {
    cmd::PaintBoxKeyMove(ctx, m);
    return true;
  };
  switch (key) {
    case Qt::Key_Left:
      return move(M::kLeft);
    case Qt::Key_Right:
      return move(M::kRight);
    case Qt::Key_Up:
      return move(M::kUp);
    case Qt::Key_Down:
      return move(M::kDown);
    case Qt::Key_Home:
      return move(M::kRowStart);
    case Qt::Key_End:
      return move(M::kRowEnd);
    case Qt::Key_Tab:
      return move(event.modifiers() & Qt::ShiftModifier ? M::kPrevFree : M::kNextFree);
    case Qt::Key_Backtab:
      return move(M::kPrevFree);
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Space:
      cmd::PaintBoxKeyValue(ctx, kEmpty);
      return true;
    default:
      break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    cmd::PaintBoxKeyValue(ctx, key - Qt::Key_0);
    return true;
  }
  return false;
}

void draw_cursor(QPainter& painter, const TLatinSquareClass& model, int width, int height,
                 CellPos cursor) {
  if (width <= 0 || height <= 0 || !cmd::is_cursor_cell(model, cursor)) return;
  const int s = GetCellSize(model, width, height);
  const int x = kViewMargin + cursor.col * s;
  const int y = kViewMargin + cursor.row * s;
  // A band that grows with the cell, and a white line within it that parts the band from any
  // fill; both stay clear of the digit and of the cross, which starts five pixels in.
  const int band = std::max(2, s / 14);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 70, 220), 1));
  for (int k = 0; k < band; ++k) painter.drawRect(x + k, y + k, s - 1 - 2 * k, s - 1 - 2 * k);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(x + band, y + band, s - 1 - 2 * band, s - 1 - 2 * band);
}

bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && handle_board_key(ctx_, *static_cast<QKeyEvent*>(event)))
    return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace dlslab::app
