#pragma once

#include <string>

#include "cmd/context.h"

// The "Crossword" menu: deal a game, restart it, show its rules.
namespace dlslab::cmd {

/// Seeds the generator from the clock, makes a random DLS with "Random search v3", cuts it down
/// with the random clue-set reduction, marks the clues and keeps the puzzle in ctx.puzzle.
void NewGameMenuItemClick(Context& ctx);
/// Puts the board back to the dealt puzzle; does nothing before the first game.
void StartAgainMenuItemClick(Context& ctx);
/// Shows the rules (eleven lines, the sixth empty) through ctx.show_message.
void ShowRulesMenuItemClick(Context& ctx);

/// The rules text, lines separated by '\n', no line break at the end.
[[nodiscard]] std::string RulesText();

}  // namespace dlslab::cmd
