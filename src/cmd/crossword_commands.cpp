#include "cmd/crossword_commands.h"

#include <cstdint>

#include "cmd/fill_commands.h"
#include "model/random.h"

namespace dlslab::cmd {

void NewGameMenuItemClick(Context& ctx) {
  // The game is of order 10; a model left at another order by the research menus comes back.
  if (ctx.model.GetOrder() != kOrder) {
    ctx.model.SetOrder(kOrder);
    ctx.model.ClearSquares();
  }
  Randomize();
  RandomSearchV3MenuItemClick(ctx);
  GetDominatingSetRandomMenuItemClick(ctx);
  ctx.model.MarkFixedCells();
  ctx.puzzle = ctx.model.FirstSquare;
  ctx.UpdateView();
}

void StartAgainMenuItemClick(Context& ctx) {
  if (ctx.puzzle.order() == 0) return;
  if (ctx.model.GetOrder() != ctx.puzzle.order()) {
    // SetOrder reseeds the generator; the restart must leave it alone.
    const std::uint32_t seed = RandSeed;
    ctx.model.SetOrder(ctx.puzzle.order());
    RandSeed = seed;
  }
  ctx.model.SetFirstSquare(ctx.puzzle);
  ctx.UpdateView();
}

std::string RulesText() {
  return "1. Разрешается использовать значения 0, 1, ..., 9.\n"
         "2. В каждой строке квадрата значения не могут повторяться (повторы отображаются "
         "красным).\n"
         "3. В каждом столбце квадрата значения не могут повторяться.\n"
         "4. На главной и побочной диагонали квадрата значения не могут повторяться.\n"
         "Необходимо заполнить значениями все пустые клетки квадрата.\n"
         "\n"
         "1. Allowed to use values 0, 1, ..., 9.\n"
         "2. All values in each row must be distinct (repeated values are displayed in red).\n"
         "3. All values in each column must be distinct.\n"
         "4. All values in main diagonal and main antidiagonal must be distinct.\n"
         "You need to fill all empty cells of the square.";
}

void ShowRulesMenuItemClick(Context& ctx) {
  if (ctx.show_message) ctx.show_message(RulesText());
}

}  // namespace dlslab::cmd
