// The family closure walks the entries by index while appending to the same list, so entries
// found on the way are searched too, and the list ends up in the order the walk meets them:
// the starting entries, then each entry's new mates in the mate search's order.
//
// The fast closure gives the same list. It differs only in work: a starting entry is first
// tested by the fast mate search, and the exact-cover search (whose order the list follows)
// runs only when it has mates; an entry that came in as a mate has one, so it goes straight to
// the exact cover. Each entry's mate count is its degree when every entry is a distinct
// normalized complete DLS: its mates are then exactly the entries orthogonal to it, each once.
#include "analysis/family_operations.h"

#include <algorithm>
#include <vector>

#include "model/diagnostics.h"
#include "model/ls_data_structs.h"
#include "model/orthogonality.h"
#include "model/progress.h"

namespace dlslab {
namespace {

void report_entry(bool verbose, int i, int count) {
  if (verbose && i % 1000 == 0)
    diag() << "Square " << i << " from " << count << " analysing..." << '\n' << std::flush;
}

void calc_degrees_by_defects(TSquaresCollection& collection, bool verbose) {
  const int count = collection.Count();
  std::vector<TLatinSquare> squares;
  squares.reserve(count);
  for (int i = 0; i < count; ++i) squares.push_back(collection.get_square(i));
  TDegreesArr& degrees = collection.Degrees();
  degrees.assign(count, 0);
  for (int i = 0; i < count; ++i) {
    current_progress().poll();
    for (int j = 0; j < count; ++j)
      if (j != i && OrthogonalityDefect(squares[i], squares[j]) == 0) ++degrees[i];
    if (verbose && i % 1000 == 0)
      diag() << "  " << i << " from " << count << " degrees calculated" << '\n' << std::flush;
  }
}

/// True when the entries are distinct complete DLS with first row 0..9, so that an entry's
/// mates are the entries orthogonal to it.
bool degrees_follow_mate_counts(const TSquaresCollection& collection) {
  for (int i = 0; i < collection.Count(); ++i) {
    const TLatinSquare square = collection.get_square(i);
    if (!IsFilled(square) || !IsDiagonalLatin(square)) return false;
    for (int c = 0; c < kOrder; ++c)
      if (square[0][c] != c) return false;
    if (collection.IndexOfString(collection.Items(i)) != i) return false;
  }
  return true;
}

void add_mates(TSquaresCollection& collection, const TOrthogonalSquares& mates) {
  for (int m = 0; m < mates.Count(); ++m) collection.AddSquare(mates.Squares[m], true, true);
}

}  // namespace

void BuildOdlsFamily(TSquaresCollection& collection, bool verbose, bool calc_degrees,
                     OdlsSearch& search) {
  collection.Degrees().clear();
  for (int i = 0; i < collection.Count(); ++i) {
    current_progress().poll();
    report_entry(verbose, i, collection.Count());
    add_mates(collection, search.GetOdlsByDlx(collection.get_square(i)));
  }
  if (!calc_degrees) return;
  if (verbose) diag() << "Degrees calculating..." << '\n' << std::flush;
  calc_degrees_by_defects(collection, verbose);
}

void build_odls_family_fast(TSquaresCollection& collection, bool verbose, bool calc_degrees,
                         OdlsSearch& search) {
  collection.Degrees().clear();
  const int starting = collection.Count();
  std::vector<int> mate_counts;
  for (int i = 0; i < collection.Count(); ++i) {
    current_progress().poll();
    report_entry(verbose, i, collection.Count());
    const TLatinSquare square = collection.get_square(i);
    if (i < starting) {
      if (search.GetOdls(square).Count() == 0) {
        mate_counts.push_back(0);
        continue;
      }
    }
    const TOrthogonalSquares mates = search.GetOdlsByDlx(square);
    mate_counts.push_back(mates.Count());
    add_mates(collection, mates);
  }
  if (!calc_degrees) return;
  if (verbose) diag() << "Degrees calculating..." << '\n' << std::flush;
  if (!degrees_follow_mate_counts(collection)) {
    calc_degrees_by_defects(collection, verbose);
    return;
  }
  const int count = collection.Count();
  collection.Degrees().assign(mate_counts.begin(), mate_counts.end());
  if (verbose)
    for (int i = 0; i < count; i += 1000)
      diag() << "  " << i << " from " << count << " degrees calculated" << '\n' << std::flush;
}

int GetDegree(const TSquaresCollection& collection, int index) {
  const TDegreesArr& degrees = collection.Degrees();
  if (index < 0 || index >= static_cast<int>(degrees.size())) return -1;
  return degrees[index];
}

void SortDegrees(TSquaresCollection& collection) {
  std::sort(collection.Degrees().begin(), collection.Degrees().end());
}

}  // namespace dlslab
