#pragma once

#include <optional>
#include <string>

#include "cmd/crossword_game.h"

// An unfinished game kept between runs of the window, as a small text file:
//
//   dlslab saved game 1
//   number 2026
//   difficulty any                      (or easy, medium, hard)
//   played_ms 754120                    (the clock, in milliseconds)
//   order 10
//   view 0
//   cursor 3 4
//   puzzle <order x order values>       (row by row, -1 for an empty cell)
//   first <...>                         (the board)
//   second <...>
//   marks <order x order masks>         (bit v: value v noted)
//   undo <steps>                        (then one "step" line each, oldest first)
//   step <square row col before after>...
//   redo <steps>                        (then their step lines, the next one last)
//   end
//
// The first line names the format; a reader takes nothing but its own version, whole.
namespace dlslab::cmd {

/// The text of a game.
[[nodiscard]] std::string saved_game_text(const GameState& state);

/// The game a text holds, or nullopt when it is not such a text: another header, a line
/// missing, broken off or out of order, a value, mark or step outside the order, anything after
/// "end". The model comes back at the kept order with its clues marked from the puzzle.
[[nodiscard]] std::optional<GameState> parse_saved_game(const std::string& text);

}  // namespace dlslab::cmd
