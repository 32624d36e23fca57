#pragma once

#include "collection/squares_collection.h"
#include "cover/odls.h"

// The closure of a collection under orthogonal diagonal mates and the degrees of its
// orthogonality graph. The entries must be complete order-10 diagonal Latin squares.
namespace dlslab {

/// Takes every entry in turn, entries added on the way included, and adds each of its mates
/// (GetOdlsByDlx, in exact-cover order) normalized by its first row and without repetition;
/// then, with calc_degrees, sets Degrees()[i] to the number of other entries orthogonal to
/// entry i. With verbose, progress lines go to the diagnostics stream. `search` is the mate
/// engine used.
void BuildOdlsFamily(TSquaresCollection& collection, bool verbose, bool calc_degrees,
                     OdlsSearch& search);

/// The same entries, in the same order, and the same degrees as BuildOdlsFamily, with less
/// work: an entry the fast mate search finds mateless is not searched again by exact cover
/// (mates added by the closure always have a mate, so only the starting entries are tested),
/// and the degrees are read off the mate counts when every entry is a normalized complete
/// diagonal Latin square (by defects otherwise).
void build_odls_family_fast(TSquaresCollection& collection, bool verbose, bool calc_degrees,
                         OdlsSearch& search);

/// Degrees()[index], or -1 when index is outside the list.
[[nodiscard]] int GetDegree(const TSquaresCollection& collection, int index);

/// Sorts Degrees() ascending; afterwards they no longer line up with the entries.
void SortDegrees(TSquaresCollection& collection);

}  // namespace dlslab
