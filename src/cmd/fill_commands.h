#pragma once

#include "cmd/context.h"

// Commands of the "Heuristic filling" menu, the fillings of a partial square and the clue-set
// reductions ("Dominating sets").
namespace dlslab::cmd {

void GreedyMenuItemClick(Context& ctx);
void RandomSearchV1MenuItemClick(Context& ctx);
void RandomSearchV2MenuItemClick(Context& ctx);
/// Repeats RandomFillV2 until the square is complete, at most 1000 attempts; logs the count.
void RandomSearchV3MenuItemClick(Context& ctx);

/// The fillings and clue-set commands work on order 10 only; on another order they log
/// "Not implemented for N<>10", on a square holding a value outside 0..9 (other than empty)
/// "Square is incorrect", and change nothing.
void GetFillingsCountMenuItemClick(Context& ctx);
void GetFirstFillingMenuItemClick(Context& ctx);
void GetDominatingSetBackwardMenuItemClick(Context& ctx);
void GetDominatingSetRandomMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
