#pragma once

#include "cmd/context.h"

namespace dlslab::cmd {

/// Logs "Generalized symmetry found: r c" for every generalized symmetry of the first square;
/// "Not implemented for N<>10" for another order and "Square is incorrect" for a square with
/// an empty cell or a value outside 0..9. Changes nothing.
void PrintAllGeneralizedSymmetriesMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
