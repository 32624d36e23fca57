#include "cmd/view_commands.h"

#include "cmd/model_commands.h"
#include "model/error.h"

namespace dlslab::cmd {

void PaintBoxClick(Context& ctx, CellPos cell) {
  if (ClickCell(ctx.model, ctx.puzzle, cell)) ctx.UpdateView();
}

void FormMouseWheel(Context& ctx, CellPos cell, int delta) {
  if (WheelCell(ctx.model, ctx.puzzle, cell, delta)) ctx.UpdateView();
}

void MenuItemClick(Context& ctx, CellPos cell, int value) {
  if (SetCellValue(ctx.model, ctx.puzzle, cell, value)) ctx.UpdateView();
}

void SaveAsBmpClick(Context& ctx, const std::string& file_name) {
  if (!ctx.save_bitmap) throw Error("Pictures cannot be drawn here.");
  ctx.save_bitmap(WithDefaultExtension(file_name, ".bmp"));
}

}  // namespace dlslab::cmd
