#pragma once

#include "collection/squares_collection.h"

namespace dlslab {

/// The canonical forms of all entries (complete order-10 squares), each form once, in the
/// order first met; a form's count is the number of entries that have it. With verbose, a
/// progress line goes to the diagnostics every 100 entries.
[[nodiscard]] TSquaresCollection GetCanonicalForms(const TSquaresCollection& collection,
                                                   bool verbose);

}  // namespace dlslab
