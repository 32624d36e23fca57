#pragma once

#include "model/types.h"

// Reduction of an order-10 square to a clue set ("dominating set"): cells are emptied one at a
// time and a removal stays only while the square still has exactly one filling.
namespace dlslab {

/// Tries the cells once each, from (9, 9) back to (0, 0).
[[nodiscard]] TLatinSquare GetDominatingSetBackward(const TLatinSquare& source);
/// Tries the filled cells in random order, one Random draw per try, and starts a new round
/// after every removal that stays.
[[nodiscard]] TLatinSquare GetDominatingSetRandom(const TLatinSquare& source);
/// Number of cells holding a value >= 0.
[[nodiscard]] int GetFilledCellsCount(const TLatinSquare& square);

/// The plain reductions: a full count of the fillings for every tried cell. Baselines of the
/// two above; same clue sets, same draws.
[[nodiscard]] TLatinSquare get_dominating_set_backward_baseline(const TLatinSquare& source);
[[nodiscard]] TLatinSquare get_dominating_set_random_baseline(const TLatinSquare& source);

}  // namespace dlslab
