#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cmd/context.h"

// The "Crossword" menu: deal a game (a new one or one by its number), restart it, take moves
// back and forth, show its rules.
namespace dlslab::cmd {

/// Seeds the generator from the clock (unless ctx.new_game_from_clock is off), makes a random
/// DLS with "Random search v3", cuts it down with the random clue-set reduction, marks the clues
/// and keeps the puzzle in ctx.puzzle. The seed is the game's number; the clock starts, the
/// history is fresh and the cursor stands on the first cell that is not a clue.
void NewGameMenuItemClick(Context& ctx);
/// Deals game `number` exactly as "New game" dealt it from that seed.
void PlayGameNumberMenuItemClick(Context& ctx, std::uint32_t number);

/// The choice of the "Difficulty" submenu: the plain deal (none) or a rated one.
void DifficultyMenuItemClick(Context& ctx, std::optional<Difficulty> difficulty);

/// A plain deal: the DLS "Random search v3" makes from the game number and the clues the random
/// clue-set reduction leaves of it.
struct PlainDeal {
  TLatinSquare solution;
  TLatinSquare puzzle;
};

/// Game `number` as "New game" deals it with no difficulty chosen; leaves the generator's seed
/// where the deal took it.
[[nodiscard]] PlainDeal plain_deal_of(std::uint32_t number);

/// A deal of a chosen difficulty.
struct RatedDeal {
  std::uint32_t number = 0;  ///< the game number taken
  int numbers_tried = 0;     ///< game numbers looked at, the one taken included
  TLatinSquare puzzle;       ///< the clues
  TLatinSquare solution;     ///< their only filling
};

/// Game numbers looked at before a rated deal gives up (none has ever needed more than a few).
inline constexpr int kMaxRatedDealTries = 10000;

/// The first game number from `from` on (wrapping past 4294967295) whose deal, given clues of
/// its solution back in the order drawn from the number until it rates `target` or easier,
/// rates exactly `target`. The same on every machine; leaves the generator's seed as it found
/// it. Throws Error when kMaxRatedDealTries numbers give none.
[[nodiscard]] RatedDeal deal_of_difficulty(std::uint32_t from, Difficulty target);
/// A game number typed by the user, blanks around it allowed; throws Error otherwise.
[[nodiscard]] std::uint32_t parse_game_number(const std::string& text);
/// Puts the board back to the dealt puzzle, as one step that can be undone; does nothing before
/// the first game.
void StartAgainMenuItemClick(Context& ctx);
/// Takes the player's last change back; the cursor goes to the cell it changed.
void UndoMenuItemClick(Context& ctx);
/// Does the last undone change again.
void RedoMenuItemClick(Context& ctx);

/// The game as it stands, board, clues, puzzle, history and clock.
[[nodiscard]] GameState take_game_state(const Context& ctx);
/// Puts a game back as it was taken; its clock goes on from where it stood.
void put_game_state(Context& ctx, GameState state);
/// Research mode begins: a dealt game is set aside in ctx.game_aside and the board stays as a
/// workbench square without clues, puzzle or game history (the squares remain as they were).
void set_game_aside(Context& ctx);
/// Research mode ends: the game set aside comes back exactly, clock included. A game dealt
/// meanwhile has replaced it and simply stays.
void bring_game_back(Context& ctx);

/// The file in ctx.game_folder that keeps an unfinished game between runs of the window.
[[nodiscard]] std::string kept_game_file(const Context& ctx);
/// The game "New game" would throw away (the one research mode set aside, else the one on the
/// board) when it holds something of the player's: a board not yet solved with a value or a
/// pencil mark the player put there. None otherwise.
[[nodiscard]] std::optional<GameState> unfinished_game(const Context& ctx);
/// On leaving: the unfinished game is written to kept_game_file whole or not at all; without
/// one, a file kept before goes. Nothing without a game folder. Throws Error when the file
/// cannot be written.
void keep_game(const Context& ctx);
/// At start: the game kept_game_file holds, if any. A file that holds none (damaged, or of
/// another program) is moved aside to the same name with ".bad" added and `error` says so;
/// nothing else is touched.
[[nodiscard]] std::optional<GameState> kept_game(const Context& ctx, std::string& error);
/// Forgets the kept game: the player starts afresh.
void drop_kept_game(const Context& ctx);
/// Goes on with a kept game: its board, pencil marks, history and clock as they were kept.
void resume_game(Context& ctx, GameState state);

/// The crossword caption with the game number and the time since the deal, or the time the
/// solution took once the board is solved. Notes the moment the board becomes solved and counts
/// the time among the best times of ctx.game_folder, so the window asks for it after every
/// change and every second.
[[nodiscard]] std::string game_caption(Context& ctx);
/// The best-times file in ctx.game_folder.
[[nodiscard]] std::string best_times_file(const Context& ctx);

/// Shows the rules (eleven lines, the sixth empty) through ctx.show_message.
void ShowRulesMenuItemClick(Context& ctx);

/// The rules text, lines separated by '\n', no line break at the end.
[[nodiscard]] std::string rules_text();

}  // namespace dlslab::cmd
