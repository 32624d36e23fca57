#pragma once

#include <QObject>
#include <QPainter>

#include "cmd/context.h"
#include "model/latin_square_class.h"
#include "model/square_view.h"

class QKeyEvent;

// Keyboard play on the square view: the keys that move the cursor or write the cell under it,
// and the cursor's outline. The rules behind the keys live in the command layer.
namespace dlslab::app {

/// Runs the command a key stands for: arrows, Home, End, Tab and Shift+Tab move the cursor;
/// a digit writes its value at the cursor, Ctrl with a digit notes it as a pencil mark or takes
/// the mark away; Delete, Backspace and Space clear the cell. Returns false for any other key
/// (and for other keys held with Ctrl or Alt, which belong to the menus).
bool handle_board_key(cmd::Context& ctx, const QKeyEvent& event);

/// Outlines the cursor's cell over the view of a width x height bitmap: a blue band inside the
/// cell's edge (two pixels wide, more in large cells) and a white line within it, so that it shows
/// on every fill and leaves the fill, the digit, the hint and the cross of the cell in view. It is
/// painted on the screen only; the bitmap, and so a saved picture, holds the board alone.
void draw_cursor(QPainter& painter, const TLatinSquareClass& model, int width, int height,
                 CellPos cursor);

/// Feeds the key presses of the object it watches (the square view) to handle_board_key, Tab
/// included, before focus handling can take it.
class BoardKeys : public QObject {
 public:
  BoardKeys(cmd::Context& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  cmd::Context& ctx_;
};

}  // namespace dlslab::app
