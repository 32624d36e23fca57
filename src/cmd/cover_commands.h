#pragma once

#include "cmd/context.h"

// Commands on the transversals and orthogonal mates of the model's first square. They are
// defined for complete order-10 squares: on another order they log "Not implemented for N<>10",
// on a square with an empty cell or a value outside 0..9 "Square is incorrect", and change
// nothing.
namespace dlslab::cmd {

void TransversalsStructureAnalysisMenuItemClick(Context& ctx);
void GetTransversalsCoverageMapMenuItemClick(Context& ctx);
void PrintAllTransversalsMenuItemClick(Context& ctx);
/// Logs every mate and the orthogonality characteristic; with a mate, shows the pair.
void GetOdlsMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
