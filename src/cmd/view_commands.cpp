#include "cmd/view_commands.h"

#include <cstdint>

#include "cmd/model_commands.h"
#include "model/error.h"
#include "model/ls_data_structs.h"

namespace dlslab::cmd {
namespace {

/// Moves the cursor to `cell` when it may stand there; true when it moved.
bool follow_mouse(Context& ctx, CellPos cell) {
  if (!is_cursor_cell(ctx.model, cell)) return false;
  const bool moved = !(cell == ctx.game.cursor);
  ctx.game.cursor = cell;
  return moved;
}

}  // namespace

bool player_edit(Context& ctx, const std::function<bool()>& edit) {
  const TLatinSquare first = ctx.model.FirstSquare;
  const TLatinSquare second = ctx.model.SecondSquare;
  const PencilMarks marks = ctx.game.marks;
  if (!edit()) return false;
  ctx.game.marks.clear_filled(ctx.model.FirstSquare);
  ctx.game.history.record(first, second, marks, ctx.model, ctx.game.marks);
  return true;
}

bool can_mark(const Context& ctx, CellPos cell) {
  const int n = ctx.model.GetOrder();
  if (!ctx.game.dealt || ctx.game.marks.order() != n || !is_cursor_cell(ctx.model, cell) ||
      cell.col >= n)
    return false;
  if (ctx.puzzle.order() == n && is_clue_cell(ctx.puzzle, cell.row, cell.col)) return false;
  return ctx.model.FirstSquare[cell.row][cell.col] == kEmpty;
}

void toggle_pencil_mark(Context& ctx, CellPos cell, int value) {
  if (!can_mark(ctx, cell) || value < kEmpty || value >= ctx.model.GetOrder()) return;
  const bool changed = player_edit(ctx, [&ctx, cell, value] {
    const std::uint32_t was = ctx.game.marks.at(cell.row, cell.col);
    const std::uint32_t now = value == kEmpty ? 0 : was ^ (1u << value);
    ctx.game.marks.set(cell.row, cell.col, now);
    return now != was;
  });
  if (changed) ctx.UpdateView();
}

void PaintBoxKeyMark(Context& ctx, int value) { toggle_pencil_mark(ctx, ctx.game.cursor, value); }

void PaintBoxClick(Context& ctx, CellPos cell) {
  const bool moved = follow_mouse(ctx, cell);
  const bool changed =
      player_edit(ctx, [&ctx, cell] { return click_cell(ctx.model, ctx.puzzle, cell); });
  if (moved || changed) ctx.UpdateView();
}

void FormMouseWheel(Context& ctx, CellPos cell, int delta) {
  if (player_edit(ctx, [&] { return wheel_cell(ctx.model, ctx.puzzle, cell, delta); }))
    ctx.UpdateView();
}

void MenuItemClick(Context& ctx, CellPos cell, int value) {
  if (player_edit(ctx, [&] { return set_cell_value(ctx.model, ctx.puzzle, cell, value); }))
    ctx.UpdateView();
}

void place_cursor(Context& ctx, CellPos cell) {
  if (follow_mouse(ctx, cell)) ctx.UpdateView();
}

void PaintBoxKeyMove(Context& ctx, CursorMove move) {
  ctx.game.cursor = move_cursor(ctx.model, ctx.puzzle, ctx.game.cursor, move);
  ctx.UpdateView();
}

void PaintBoxKeyValue(Context& ctx, int value) {
  const CellPos cell = ctx.game.cursor;
  if (!is_cursor_cell(ctx.model, cell)) return;
  if (player_edit(ctx, [&] { return set_cell_value(ctx.model, ctx.puzzle, cell, value); }))
    ctx.UpdateView();
}

void SaveAsBmpClick(Context& ctx, const std::string& file_name) {
  if (!ctx.save_bitmap) throw Error("Pictures cannot be drawn here.");
  const std::string name = with_default_extension(file_name, ".bmp");
  ctx.save_bitmap(name);
  ctx.notify("Save as bmp: " + name + " written");
}

}  // namespace dlslab::cmd
