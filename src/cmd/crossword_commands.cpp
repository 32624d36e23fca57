#include "cmd/crossword_commands.h"

#include <cstdint>

#include "cmd/fill_commands.h"
#include "cmd/view_commands.h"
#include "model/error.h"
#include "model/parse_number.h"
#include "model/random.h"

namespace dlslab::cmd {

namespace {

/// Deals the game that the generator's seed `number` gives: the same number, the same puzzle.
void deal_game(Context& ctx, std::uint32_t number) {
  CrosswordGame& game = ctx.game;
  game.dealt = false;      // the redraws of the deal's steps show no game
  ctx.game_aside.reset();  // a game dealt in research mode replaces the one set aside
  // The game is of order 10; a model left at another order by the research menus comes back.
  if (ctx.model.GetOrder() != kOrder) {
    ctx.model.SetOrder(kOrder);
    ctx.model.ClearSquares();
  }
  RandSeed = number;
  RandomSearchV3MenuItemClick(ctx);
  GetDominatingSetRandomMenuItemClick(ctx);
  ctx.model.MarkFixedCells();
  ctx.puzzle = ctx.model.FirstSquare;
  game.dealt = true;
  game.number = number;
  game.dealt_at = ctx.now();
  game.solved_after.reset();
  game.cursor = first_free_cell(ctx.model, ctx.puzzle);
  game.history.reset(ctx.model);
  ctx.UpdateView();
}

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

void follow_undo(Context& ctx, const std::optional<CellPos>& cell) {
  if (!cell) return;
  if (is_cursor_cell(ctx.model, *cell)) ctx.game.cursor = *cell;
  ctx.UpdateView();
}

}  // namespace

void NewGameMenuItemClick(Context& ctx) {
  if (ctx.new_game_from_clock) Randomize();
  deal_game(ctx, RandSeed);
}

void PlayGameNumberMenuItemClick(Context& ctx, std::uint32_t number) { deal_game(ctx, number); }

std::uint32_t parse_game_number(const std::string& text) {
  const std::optional<std::uint32_t> number = parse_number<std::uint32_t>(trimmed(text));
  if (!number) throw Error("\"" + text + "\" is not a game number (0 to 4294967295).");
  return *number;
}

void StartAgainMenuItemClick(Context& ctx) {
  if (ctx.puzzle.order() == 0) return;
  player_edit(ctx, [&ctx] {
    if (ctx.model.GetOrder() != ctx.puzzle.order()) {
      // SetOrder reseeds the generator; the restart must leave it alone.
      const std::uint32_t seed = RandSeed;
      ctx.model.SetOrder(ctx.puzzle.order());
      RandSeed = seed;
    }
    ctx.model.SetFirstSquare(ctx.puzzle);
    return true;
  });
  ctx.UpdateView();
}

void UndoMenuItemClick(Context& ctx) { follow_undo(ctx, ctx.game.history.undo(ctx.model)); }

void RedoMenuItemClick(Context& ctx) { follow_undo(ctx, ctx.game.history.redo(ctx.model)); }

std::string game_caption(Context& ctx) {
  CrosswordGame& game = ctx.game;
  if (!game.dealt) return kCrosswordCaption;
  const double elapsed = ctx.now() - game.dealt_at;
  if (!is_solved(ctx.model.FirstSquare, ctx.puzzle))
    game.solved_after.reset();
  else if (!game.solved_after)
    game.solved_after = elapsed;
  std::string caption = std::string(kCrosswordCaption) + " - game " + std::to_string(game.number);
  if (game.solved_after) return caption + " - solved in " + format_game_time(*game.solved_after);
  return caption + " - " + format_game_time(elapsed);
}

GameState take_game_state(const Context& ctx) {
  return GameState{ctx.model, ctx.puzzle, ctx.game, ctx.now() - ctx.game.dealt_at};
}

void put_game_state(Context& ctx, GameState state) {
  ctx.model = std::move(state.model);
  ctx.puzzle = std::move(state.puzzle);
  ctx.game = std::move(state.game);
  ctx.game.dealt_at = ctx.now() - state.played;
  ctx.UpdateView();
}

void set_game_aside(Context& ctx) {
  if (!ctx.game.dealt) return;
  ctx.game_aside = take_game_state(ctx);
  ctx.model.FixedCells.Fill(false);
  ctx.puzzle = TLatinSquare();
  const CellPos cursor = ctx.game.cursor;
  ctx.game = CrosswordGame();
  ctx.game.cursor = cursor;
  ctx.game.history.reset(ctx.model);
  ctx.UpdateView();
}

void bring_game_back(Context& ctx) {
  if (!ctx.game_aside) return;
  GameState state = std::move(*ctx.game_aside);
  ctx.game_aside.reset();
  put_game_state(ctx, std::move(state));
}

std::string rules_text() {
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
  if (ctx.show_message) ctx.show_message(rules_text());
}

}  // namespace dlslab::cmd
