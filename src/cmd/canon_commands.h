#pragma once

#include "cmd/context.h"

// Commands of the "Canonical forms" menu. Each works on the model's first square, which must
// be of order 10; on another order the command logs "Not implemented for N<>10" and changes
// nothing.
namespace dlslab::cmd {

/// Where "Get isomorphism class" writes, relative to the current folder.
inline constexpr const char* kIsomorphismClassFile = "Isomorphism class.txt";

/// The canonical form of a complete square, the strong canonical form of an incomplete one.
void GetCanonicalFormMenuItemClick(Context& ctx);
/// Writes the squares equivalent to the model's square to "Isomorphism class.txt" in the
/// current folder and logs their number.
void GetIsomorphismClassMenuItemClick(Context& ctx);
void GetStrongCanonicalFormMenuItemClick(Context& ctx);
/// Logs the table line of the strong canonical form's anti-diagonal, or "Unknown".
void GetSCFLineNumberMenuItemClick(Context& ctx);

}  // namespace dlslab::cmd
