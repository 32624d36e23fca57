#include "analysis/isomorphism_class.h"

#include <string_view>

#include "canon/grid.h"

namespace dlslab {

TSquaresCollection GetIsomorphismClass(CanonEngine& engine, const TLatinSquare& square) {
  TSquaresCollection collection;
  if (square.order() != kOrder) return collection;
  constexpr int kCells = kOrder * kOrder;
  engine.EnumerateEquivalents(
      to_grid(square),
      [&collection](const Equivalent& candidate) {
        const Grid relabelled = relabel_by_first_row(candidate.grid());
        char digits[kCells];
        for (int i = 0; i < kCells; ++i)
          digits[i] = relabelled[i] < 0 ? '-' : static_cast<char>('0' + relabelled[i]);
        collection.AddSquareString(std::string_view(digits, kCells), true, true);
        return true;
      },
      "Listing the isomorphism class");
  return collection;
}

TSquaresCollection GetIsomorphismClass(const TLatinSquare& square) {
  CanonEngine engine;
  return GetIsomorphismClass(engine, square);
}

}  // namespace dlslab
