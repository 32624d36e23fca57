#pragma once

#include <functional>
#include <string>

#include "cmd/context.h"
#include "cmd/crossword_game.h"
#include "model/square_view.h"

// The square view's mouse and keyboard editing and its picture export.
namespace dlslab::cmd {

/// Left click on the view cell (as GetCellAtPoint gives it); the keyboard cursor follows the
/// click. Redraws when a cell or the cursor changed.
void PaintBoxClick(Context& ctx, CellPos cell);
/// Mouse wheel over the window with the pointer last over `cell`.
void FormMouseWheel(Context& ctx, CellPos cell, int delta);
/// An item of the cell pop-up menu: value 0..N-1, or -1 for "Clear cell".
void MenuItemClick(Context& ctx, CellPos cell, int value);

/// Puts the keyboard cursor on a view cell the mouse picked (the pop-up menu's right click);
/// off the grid or on the gap it stays where it is.
void place_cursor(Context& ctx, CellPos cell);
/// An arrow, Home, End, Tab or Shift+Tab: moves the cursor.
void PaintBoxKeyMove(Context& ctx, CursorMove move);
/// A digit (value 0..N-1) or a clearing key (-1) at the cursor, under the pop-up menu's rules:
/// clues are protected in the single view and values outside -1..N-1 do nothing.
void PaintBoxKeyValue(Context& ctx, int value);

/// Whether the player may pencil marks into the view cell: a cell of the first square in a
/// dealt game, empty and no clue.
[[nodiscard]] bool can_mark(const Context& ctx, CellPos cell);
/// Notes value (0..N-1) in a cell as a candidate, or takes the note away when it is there;
/// value -1 takes every mark off the cell. Nothing happens where can_mark says no. One step
/// for undo.
void toggle_pencil_mark(Context& ctx, CellPos cell, int value);
/// Ctrl with a digit: toggle_pencil_mark at the cursor.
void PaintBoxKeyMark(Context& ctx, int value);

/// Runs one change the player makes to the board and records it for undo; returns what
/// `edit` returned (whether it wrote a cell or a mark). A cell that gets a value loses its
/// pencil marks in the same step.
bool player_edit(Context& ctx, const std::function<bool()>& edit);

/// "Save as bmp...": adds ".bmp" when the name has no extension and hands it to the shell's
/// picture writer; throws when there is none.
void SaveAsBmpClick(Context& ctx, const std::string& file_name);

}  // namespace dlslab::cmd
