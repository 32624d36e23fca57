#pragma once

#include <string>

#include "cmd/context.h"
#include "model/square_view.h"

// The square view's mouse editing and its picture export.
namespace dlslab::cmd {

/// Left click on the view cell (as GetCellAtPoint gives it); redraws when a cell changed.
void PaintBoxClick(Context& ctx, CellPos cell);
/// Mouse wheel over the window with the pointer last over `cell`.
void FormMouseWheel(Context& ctx, CellPos cell, int delta);
/// An item of the cell pop-up menu: value 0..N-1, or -1 for "Clear cell".
void MenuItemClick(Context& ctx, CellPos cell, int value);

/// "Save as bmp...": adds ".bmp" when the name has no extension and hands it to the shell's
/// picture writer; throws when there is none.
void SaveAsBmpClick(Context& ctx, const std::string& file_name);

}  // namespace dlslab::cmd
