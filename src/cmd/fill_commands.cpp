#include "cmd/fill_commands.h"

#include <string>

#include "fill/clue_sets.h"
#include "fill/fillings.h"
#include "fill/heuristic_fill.h"
#include "model/ls_data_structs.h"
#include "model/progress.h"

namespace dlslab::cmd {
namespace {

constexpr int kMaxAttempts = 1000;

/// The exhaustive searches are written for order 10 and keep one candidate plane per value;
/// other orders, and a square holding a value no square of order 10 can hold, are refused in
/// the log.
bool is_order_ten(Context& ctx) {
  if (ctx.model.GetOrder() != kOrder) {
    ctx.log.Add("Not implemented for N<>10");
    return false;
  }
  if (!holds_only_valid_values(ctx.model.FirstSquare)) {
    ctx.log.Add("Square is incorrect");
    return false;
  }
  return true;
}

void reduce_to_clue_set(Context& ctx, TLatinSquare (*reduce)(const TLatinSquare&)) {
  if (!is_order_ten(ctx)) return;
  const TLatinSquare result = reduce(ctx.model.FirstSquare);
  ctx.model.SetFirstSquare(result);
  ctx.log.Add("Dominating set cardinality: " + std::to_string(GetFilledCellsCount(result)));
  ctx.UpdateView();
}

}  // namespace

void GreedyMenuItemClick(Context& ctx) {
  GreedyFill(ctx.model);
  ctx.UpdateView();
}

void RandomSearchV1MenuItemClick(Context& ctx) {
  ctx.model.ClearSquares();
  RandomFillV1(ctx.model);
  ctx.UpdateView();
}

void RandomSearchV2MenuItemClick(Context& ctx) {
  RandomFillV2(ctx.model);
  ctx.UpdateView();
}

void RandomSearchV3MenuItemClick(Context& ctx) {
  // At high orders an attempt takes milliseconds and most fail, so a cancel is honoured
  // between attempts.
  const Progress& progress = current_progress();
  for (int attempts = 1; attempts <= kMaxAttempts; ++attempts) {
    progress.poll();
    RandomFillV2(ctx.model);
    if (ctx.model.GetEmptyCellsCount() == 0) {
      ctx.log.Add("Random search v3: square was filled from " + std::to_string(attempts) + " try");
      break;
    }
  }
  ctx.UpdateView();
}

void GetFillingsCountMenuItemClick(Context& ctx) {
  if (!is_order_ten(ctx)) return;
  ctx.log.Add("Fillings count: " + std::to_string(GetFillingsCount(ctx.model.FirstSquare)));
}

void GetFirstFillingMenuItemClick(Context& ctx) {
  if (!is_order_ten(ctx)) return;
  ctx.model.SetFirstSquare(GetFirstFilling(ctx.model.FirstSquare));
  ctx.UpdateView();
}

void GetDominatingSetBackwardMenuItemClick(Context& ctx) {
  reduce_to_clue_set(ctx, GetDominatingSetBackward);
}

void GetDominatingSetRandomMenuItemClick(Context& ctx) {
  reduce_to_clue_set(ctx, GetDominatingSetRandom);
}

}  // namespace dlslab::cmd
