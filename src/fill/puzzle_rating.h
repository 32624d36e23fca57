#pragma once

#include <cstdint>
#include <string_view>

#include "model/types.h"

// How hard a crossword deal is for a person. The rating solves the puzzle with the techniques a
// player uses, always the easiest one that still makes progress, and names the hardest one the
// solution needed.
namespace dlslab {

/// Easy: single candidates in a cell are enough. Medium: single places of a value in a row,
/// column or diagonal, or pairs, are needed as well. Hard: those techniques get stuck, so the
/// player must try a value and see where it leads.
enum class Difficulty { kEasy, kMedium, kHard };

/// What the person-like solver did on one puzzle.
struct PuzzleRating {
  Difficulty difficulty = Difficulty::kHard;
  int naked_singles = 0;   ///< cells set as the only candidate left in them
  int hidden_singles = 0;  ///< cells set as the only place of a value in a line
  int pairs = 0;           ///< steps that struck candidates through a pair of cells in a line
  int cells_left = 0;      ///< empty cells when the techniques got stuck (0 unless hard)
  TLatinSquare board;      ///< the puzzle as far as the techniques filled it
};

/// Rates an order-10 partial DLS (empty cells -1) whose filling is unique. A puzzle that turns
/// out contradictory is rated hard.
[[nodiscard]] PuzzleRating rate_puzzle(const TLatinSquare& puzzle);

/// Gives `puzzle` clues of its filling `solution` back, one at a time in an order drawn from
/// `seed`, until it rates `target` or easier; returns that rating. The same arguments add the
/// same clues on every machine.
PuzzleRating ease_puzzle(TLatinSquare& puzzle, const TLatinSquare& solution, Difficulty target,
                         std::uint32_t seed);

/// "easy", "medium", "hard".
[[nodiscard]] std::string_view difficulty_name(Difficulty difficulty);
/// The difficulty whose name is `name` (case ignored), or false.
[[nodiscard]] bool parse_difficulty(std::string_view name, Difficulty& difficulty);

}  // namespace dlslab
