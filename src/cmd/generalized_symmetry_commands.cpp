#include "cmd/generalized_symmetry_commands.h"

#include <string>

#include "transform/generalized_symmetries.h"

namespace dlslab::cmd {

void PrintAllGeneralizedSymmetriesMenuItemClick(Context& ctx) {
  const TLatinSquare& square = ctx.model.FirstSquare;
  if (square.order() != kOrder) {
    ctx.log.Add("Not implemented for N<>10");
    return;
  }
  for (int k = 0; k < square.size(); ++k) {
    if (square.data()[k] < 0 || square.data()[k] >= kOrder) {
      ctx.log.Add("Square is incorrect");
      return;
    }
  }
  for (const GeneralizedSymmetry& g : GetGeneralizedSymmetries(square))
    ctx.log.Add("Generalized symmetry found: " + std::to_string(g.r) + " " + std::to_string(g.c));
}

}  // namespace dlslab::cmd
