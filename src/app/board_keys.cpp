#include "app/board_keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>

#include "cmd/crossword_game.h"
#include "cmd/view_commands.h"

namespace dlslab::app {

bool HandleBoardKey(cmd::Context& ctx, const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  using M = cmd::CursorMove;
  const int key = event.key();
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

void DrawCursor(QPainter& painter, const TLatinSquareClass& model, int width, int height,
                CellPos cursor) {
  if (width <= 0 || height <= 0 || !cmd::IsCursorCell(model, cursor)) return;
  const int s = GetCellSize(model, width, height);
  const int x = kViewMargin + cursor.col * s;
  const int y = kViewMargin + cursor.row * s;
  painter.setBrush(Qt::NoBrush);
  // Rectangles of one-pixel pens, from the cell's edge inwards: black, black, white.
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(x, y, s - 1, s - 1);
  painter.drawRect(x + 1, y + 1, s - 3, s - 3);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(x + 2, y + 2, s - 5, s - 5);
}

bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleBoardKey(ctx_, *static_cast<QKeyEvent*>(event)))
    return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace dlslab::app
