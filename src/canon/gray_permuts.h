#pragma once

#include <vector>

namespace dlslab {

/// Two neighbouring 1-based positions that change places, first < second.
struct TGrayPermutSwapItem {
  int first = 0;
  int second = 0;
  friend bool operator==(const TGrayPermutSwapItem&, const TGrayPermutSwapItem&) = default;
};
using TGrayPermutSwapItemsArr = std::vector<TGrayPermutSwapItem>;
/// Swap lists indexed by the number of elements; an entry stays empty until built.
using TGrayPermuts = std::vector<TGrayPermutSwapItemsArr>;

/// Fills gray_permuts[h] (growing the cache to h + 1 entries when shorter) with the h! - 1
/// neighbour swaps of the Steinhaus-Johnson-Trotter order, which visits every arrangement of
/// h elements once.
void BuildGraySwaps(TGrayPermuts& gray_permuts, int h);

}  // namespace dlslab
