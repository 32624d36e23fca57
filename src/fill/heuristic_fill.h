#pragma once

#include "model/latin_square_class.h"

// Filling of the model's first square without backtracking: greedy smallest-first and the
// randomised fillings that make the crossword's squares. Every draw comes from Random, so a
// fixed seed reproduces a square exactly.
namespace dlslab {

/// Clears the model, then gives each cell, row-major, its smallest candidate (or leaves it
/// empty when it has none).
void GreedyFill(TLatinSquareClass& model);

/// Every cell, row-major, := Random(N); no rule is checked.
void RandomFillV1(TLatinSquareClass& model);

/// One pass over rows i..N-1 giving every empty cell with a single candidate that candidate;
/// true when a cell was set.
bool PropagateSingles(TLatinSquareClass& model, int i);

/// One randomised attempt: clears the model, then visits the cells row-major, propagating
/// singles before each and drawing Random(candidates) for each (also with no candidates).
/// Exactly N * N draws. Cells without candidates at their turn stay empty.
void RandomFillV2(TLatinSquareClass& model);

/// RandomFillV2 as literally described, rebuilding candidate lists with GetCandidates:
/// the baseline of the mask-based RandomFillV2, same squares and same draws.
void random_fill_v2_baseline(TLatinSquareClass& model);

}  // namespace dlslab
