#include "cmd/fill_commands.h"

#include <string>

#include "fill/heuristic_fill.h"

namespace dlslab::cmd {
namespace {

constexpr int kMaxAttempts = 1000;

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
  for (int attempts = 1; attempts <= kMaxAttempts; ++attempts) {
    RandomFillV2(ctx.model);
    if (ctx.model.GetEmptyCellsCount() == 0) {
      ctx.log.Add("Random search v3: square was filled from " + std::to_string(attempts) + " try");
      break;
    }
  }
  ctx.UpdateView();
}

}  // namespace dlslab::cmd
