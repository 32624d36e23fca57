#include "cmd/crossword_commands.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "cmd/fill_commands.h"
#include "cmd/saved_game.h"
#include "cmd/view_commands.h"
#include "model/error.h"
#include "model/file_output.h"
#include "model/parse_number.h"
#include "model/random.h"

namespace dlslab::cmd {

namespace {

/// The plain deal of game `number` on ctx's model: a DLS from "Random search v3" seeded with the
/// number, cut down by the random clue-set reduction. Returns the DLS before the cut.
TLatinSquare plain_deal(Context& ctx, std::uint32_t number) {
  // The game is of order 10; a model left at another order by the research menus comes back.
  if (ctx.model.GetOrder() != kOrder) {
    ctx.model.SetOrder(kOrder);
    ctx.model.ClearSquares();
  }
  RandSeed = number;
  RandomSearchV3MenuItemClick(ctx);
  TLatinSquare solution = ctx.model.FirstSquare;
  GetDominatingSetRandomMenuItemClick(ctx);
  return solution;
}

/// Deals the game that the generator's seed `number` gives: the same number, the same puzzle.
/// With a difficulty chosen, the first number from there on whose deal has that rating.
void deal_game(Context& ctx, std::uint32_t number) {
  CrosswordGame& game = ctx.game;
  game.dealt = false;      // the redraws of the deal's steps show no game
  ctx.game_aside.reset();  // a game dealt in research mode replaces the one set aside
  std::optional<RatedDeal> rated;
  if (ctx.difficulty) rated = deal_of_difficulty(number, *ctx.difficulty);
  // The log and the generator see the taken number's deal alone, as a plain deal of it.
  plain_deal(ctx, rated ? rated->number : number);
  if (rated) {
    int clues = 0;
    for (int i = 0; i < rated->puzzle.size(); ++i) clues += rated->puzzle.data()[i] >= 0;
    ctx.model.FirstSquare = rated->puzzle;
    ctx.log.Add("Game " + std::to_string(rated->number) + " (" +
                std::string(difficulty_name(*ctx.difficulty)) + "): " + std::to_string(clues) +
                " clues");
  }
  ctx.model.MarkFixedCells();
  ctx.puzzle = ctx.model.FirstSquare;
  game.dealt = true;
  game.number = rated ? rated->number : number;
  game.difficulty = ctx.difficulty;
  game.dealt_at = ctx.now();
  game.solved_after.reset();
  game.best_time.reset();
  game.new_best = false;
  game.cursor = first_free_cell(ctx.model, ctx.puzzle);
  game.marks.reset(ctx.model.GetOrder());
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

/// The board has just become solved `seconds` after the deal: the time counts among the best.
void note_solution(Context& ctx, double seconds) {
  CrosswordGame& game = ctx.game;
  game.solved_after = seconds;
  BestTimes times;
  std::string error;
  if (!ctx.game_folder.empty()) times = BestTimes::load(best_times_file(ctx), &error);
  if (!error.empty()) ctx.log.Add(error);
  game.new_best = times.offer(game.difficulty, seconds);
  game.best_time = times.best(game.difficulty);
  if (ctx.game_folder.empty() || !game.new_best) return;
  try {
    times.save(best_times_file(ctx));
  } catch (const Error& e) {
    ctx.log.Add(e.what());
  }
}

}  // namespace

std::string best_times_file(const Context& ctx) { return ctx.game_folder + "/best_times.txt"; }

void NewGameMenuItemClick(Context& ctx) {
  if (ctx.new_game_from_clock) Randomize();
  deal_game(ctx, RandSeed);
}

void PlayGameNumberMenuItemClick(Context& ctx, std::uint32_t number) { deal_game(ctx, number); }

void DifficultyMenuItemClick(Context& ctx, std::optional<Difficulty> difficulty) {
  ctx.difficulty = difficulty;
}

PlainDeal plain_deal_of(std::uint32_t number) {
  Context scratch;
  PlainDeal deal;
  deal.solution = plain_deal(scratch, number);
  deal.puzzle = scratch.model.FirstSquare;
  return deal;
}

RatedDeal deal_of_difficulty(std::uint32_t from, Difficulty target) {
  const std::uint32_t seed = RandSeed;
  Context scratch;  // its log takes the lines of the numbers passed over
  RatedDeal deal;
  for (std::uint32_t number = from; deal.numbers_tried < kMaxRatedDealTries; ++number) {
    ++deal.numbers_tried;
    deal.solution = plain_deal(scratch, number);
    deal.puzzle = scratch.model.FirstSquare;
    if (ease_puzzle(deal.puzzle, deal.solution, target, number).difficulty != target) continue;
    deal.number = number;
    RandSeed = seed;
    return deal;
  }
  RandSeed = seed;
  throw Error("No " + std::string(difficulty_name(target)) + " game among " +
              std::to_string(kMaxRatedDealTries) + " numbers from " + std::to_string(from) + ".");
}

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
    ctx.game.marks.reset(ctx.puzzle.order());  // the board as dealt, with no notes
    return true;
  });
  ctx.UpdateView();
}

void UndoMenuItemClick(Context& ctx) {
  follow_undo(ctx, ctx.game.history.undo(ctx.model, ctx.game.marks));
}

void RedoMenuItemClick(Context& ctx) {
  follow_undo(ctx, ctx.game.history.redo(ctx.model, ctx.game.marks));
}

std::string game_caption(Context& ctx) {
  CrosswordGame& game = ctx.game;
  if (!game.dealt) return kCrosswordCaption;
  const double elapsed = ctx.now() - game.dealt_at;
  if (!is_solved(ctx.model.FirstSquare, ctx.puzzle))
    game.solved_after.reset();
  else if (!game.solved_after)
    note_solution(ctx, elapsed);
  std::string caption = std::string(kCrosswordCaption) + " - game " + std::to_string(game.number);
  if (game.difficulty) caption += " (" + std::string(difficulty_name(*game.difficulty)) + ")";
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
  ctx.model.FixedCells.fill(false);
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

std::string kept_game_file(const Context& ctx) { return ctx.game_folder + "/saved_game.txt"; }

std::optional<GameState> unfinished_game(const Context& ctx) {
  std::optional<GameState> state = ctx.game_aside;
  if (!state && ctx.game.dealt) state = take_game_state(ctx);
  if (!state || is_solved(state->model.FirstSquare, state->puzzle)) return std::nullopt;
  if (state->model.FirstSquare == state->puzzle && state->game.marks.empty()) return std::nullopt;
  return state;
}

void keep_game(const Context& ctx) {
  if (ctx.game_folder.empty()) return;
  if (const std::optional<GameState> state = unfinished_game(ctx)) {
    write_file_atomically(kept_game_file(ctx), saved_game_text(*state));
    return;
  }
  drop_kept_game(ctx);
}

std::optional<GameState> kept_game(const Context& ctx, std::string& error) {
  if (ctx.game_folder.empty()) return std::nullopt;
  const std::string file_name = kept_game_file(ctx);
  std::error_code failed;
  if (!std::filesystem::exists(file_name, failed)) return std::nullopt;
  std::ifstream in(file_name, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (std::optional<GameState> state = parse_saved_game(bytes.str())) return state;
  // Moved aside, not removed: whatever it is, it stays for the user to look at.
  std::filesystem::rename(file_name, file_name + ".bad", failed);
  error =
      "\"" + file_name + "\" holds no game that can be continued; " +
      (failed ? std::string("it is left as it is") : "it is kept as \"" + file_name + ".bad\"") +
      " and a new game begins.";
  return std::nullopt;
}

void drop_kept_game(const Context& ctx) {
  if (ctx.game_folder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(kept_game_file(ctx), ignored);
}

void resume_game(Context& ctx, GameState state) {
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
