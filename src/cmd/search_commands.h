#pragma once

#include <cstdint>
#include <string>

#include "cmd/context.h"

// The ODLS search from the window: squares of a generator checked for orthogonal diagonal
// mates, on every core, the distinct canonical forms of the hits browsed as a collection.
namespace dlslab::cmd {

/// What "Search ODLS..." is asked: a generator, how many squares, the first seed.
struct SearchRequest {
  std::string generator;
  std::uint64_t count = 0;
  std::uint64_t first = 0;
};

/// "GENERATOR COUNT [FIRST]", e.g. "rsv3 100000" or "brown 5000 1000"; throws Error naming
/// what is wrong (an unknown generator, a count of 0, seeds past the generator's last).
[[nodiscard]] SearchRequest parse_search_request(const std::string& text);

/// Checks the squares of seeds FIRST .. FIRST + COUNT - 1 of the generator; logs the line of
/// every hit (seed, square, mate count, canonical form, mates) and the summary, and puts the
/// distinct canonical forms of the hits into the browsing collection, each with the number of
/// hits that had it, in the order first met. A cancelled search changes nothing.
void SearchOdlsMenuItemClick(Context& ctx, const std::string& text);

}  // namespace dlslab::cmd
