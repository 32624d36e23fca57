#pragma once

#include <string>
#include <vector>

#include "cmd/context.h"
#include "model/types.h"

// Commands on the ODLS family of the model's first square, its type, the common transversals
// of a pair, and the canonization of a Latin square through diagonal ones. They are defined for
// order 10 only: on another order they log "Not implemented for N<>10" and change nothing. On a
// square with an empty cell or a value outside 0..9 they log "Square is incorrect", and so they
// do when the square is complete but not a DLS (family and type commands) or not a Latin square
// (canonization and common transversals). None of them changes the model.
namespace dlslab::cmd {

/// The route a listing is computed by: the fast one the commands use, or the literal one it is
/// checked and measured against. Both give the same lines.
enum class Route { kFast, kLiteral };

/// Logs the name of the square's family type.
void GetOdlsTypeMenuItemClick(Context& ctx);
/// In pair view, logs the diagonal transversals both squares share; otherwise does nothing.
void GetCommonTransversalsMenuItemClick(Context& ctx);
/// Logs the family's members, its adjacency matrix and its sorted degrees.
void GetAllODLSFamilyMenuItemClick(Context& ctx);
/// Logs the distinct canonical forms of the family's members.
void GetAllODLSFamilyCFsOnlyMenuItemClick(Context& ctx);
/// Logs the canonical forms of the DLS with mates reached from the square (none for a Brown
/// square).
void CanonizeLSbyDLSMenuItemClick(Context& ctx);
/// Logs the square normalized by its first row and everything the canonization reaches from
/// it and from what it finds, until nothing new appears.
void CanonizeLsDlsForallfamilyMenuItemClick(Context& ctx);

/// The log lines of "Get all ODLS family" for a complete order-10 DLS.
[[nodiscard]] std::vector<std::string> odls_family_lines(const TLatinSquare& square, Route route);
/// The log lines of "Get all ODLS family (unique CFs only)" for a complete order-10 DLS.
[[nodiscard]] std::vector<std::string> odls_family_forms_lines(const TLatinSquare& square,
                                                               Route route);
/// The log lines of "For one square only" for a complete order-10 Latin square.
[[nodiscard]] std::vector<std::string> canonize_one_lines(const TLatinSquare& square, Route route);
/// The log lines of "For all family" for a complete order-10 Latin square.
[[nodiscard]] std::vector<std::string> canonize_family_lines(const TLatinSquare& square,
                                                             Route route);
/// The log lines of "Get common transversals" for two complete order-10 Latin squares.
[[nodiscard]] std::vector<std::string> common_transversals_lines(const TLatinSquare& first,
                                                                 const TLatinSquare& second,
                                                                 Route route);

}  // namespace dlslab::cmd
