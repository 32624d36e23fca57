#include "cmd/generalized_symmetry_commands.h"

#include <string>

#include "model/ls_data_structs.h"
#include "transform/generalized_symmetries.h"

namespace dlslab::cmd {

void PrintAllGeneralizedSymmetriesMenuItemClick(Context& ctx) {
  const TLatinSquare& square = ctx.model.FirstSquare;
  if (square.order() != kOrder) {
    ctx.log.Add("Not implemented for N<>10");
    return;
  }
  // On a square with repeats nearly every pair of involutions can be a symmetry (an all-zero
  // square has 90 million of them): the listing is for Latin squares.
  if (!is_complete_latin(square)) {
    ctx.log.Add("Square is incorrect");
    return;
  }
  // Defined for Latin squares; one with repeats would be searched without end.
  for (int i = 0; i < kOrder; ++i) {
    unsigned row = 0;
    unsigned col = 0;
    for (int j = 0; j < kOrder; ++j) {
      row |= 1u << square[i][j];
      col |= 1u << square[j][i];
    }
    if (row != (1u << kOrder) - 1 || col != (1u << kOrder) - 1) {
      ctx.log.Add("Square is incorrect");
      return;
    }
  }
  for (const GeneralizedSymmetry& g : get_generalized_symmetries(square))
    ctx.log.Add("Generalized symmetry found: " + std::to_string(g.r) + " " + std::to_string(g.c));
}

}  // namespace dlslab::cmd
