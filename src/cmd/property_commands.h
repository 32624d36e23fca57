#pragma once

#include <string_view>
#include <vector>

#include "analysis/status_text.h"
#include "cmd/context.h"
#include "model/types.h"

// Commands that describe the first square: its properties and its intercalates, and the
// cyclic-square generator.
namespace dlslab::cmd {

using dlslab::get_property_labels;
using dlslab::is_correct_square;

/// One log line per property of a correct square; "INCORRECT" for any other square.
void PrintAllPropertiesClick(Context& ctx);
/// "Intercalates found: " and the count, for any square.
void GetIntercalatesCountMenuItemClick(Context& ctx);
/// Shows the cyclic square (i*k + j) mod N for the window's counter k, then steps k.
void CreatePandiagonalMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
