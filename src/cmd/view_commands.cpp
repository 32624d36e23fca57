#include "cmd/view_commands.h"

#include "cmd/model_commands.h"
#include "model/error.h"

namespace dlslab::cmd {
namespace {

/// Moves the cursor to `cell` when it may stand there; true when it moved.
bool FollowMouse(Context& ctx, CellPos cell) {
  if (!IsCursorCell(ctx.model, cell)) return false;
  const bool moved = !(cell == ctx.game.cursor);
  ctx.game.cursor = cell;
  return moved;
}

}  // namespace

bool PlayerEdit(Context& ctx, const std::function<bool()>& edit) {
  const TLatinSquare first = ctx.model.FirstSquare;
  const TLatinSquare second = ctx.model.SecondSquare;
  if (!edit()) return false;
  ctx.game.history.Record(first, second, ctx.model);
  return true;
}

void PaintBoxClick(Context& ctx, CellPos cell) {
  const bool moved = FollowMouse(ctx, cell);
  const bool changed =
      PlayerEdit(ctx, [&ctx, cell] { return ClickCell(ctx.model, ctx.puzzle, cell); });
  if (moved || changed) ctx.UpdateView();
}

void FormMouseWheel(Context& ctx, CellPos cell, int delta) {
  if (PlayerEdit(ctx, [&] { return WheelCell(ctx.model, ctx.puzzle, cell, delta); }))
    ctx.UpdateView();
}

void MenuItemClick(Context& ctx, CellPos cell, int value) {
  if (PlayerEdit(ctx, [&] { return SetCellValue(ctx.model, ctx.puzzle, cell, value); }))
    ctx.UpdateView();
}

void PlaceCursor(Context& ctx, CellPos cell) {
  if (FollowMouse(ctx, cell)) ctx.UpdateView();
}

void PaintBoxKeyMove(Context& ctx, CursorMove move) {
  ctx.game.cursor = MoveCursor(ctx.model, ctx.puzzle, ctx.game.cursor, move);
  ctx.UpdateView();
}

void PaintBoxKeyValue(Context& ctx, int value) {
  const CellPos cell = ctx.game.cursor;
  if (!IsCursorCell(ctx.model, cell)) return;
  if (PlayerEdit(ctx, [&] { return SetCellValue(ctx.model, ctx.puzzle, cell, value); }))
    ctx.UpdateView();
}

void SaveAsBmpClick(Context& ctx, const std::string& file_name) {
  if (!ctx.save_bitmap) throw Error("Pictures cannot be drawn here.");
  ctx.save_bitmap(WithDefaultExtension(file_name, ".bmp"));
}

}  // namespace dlslab::cmd
