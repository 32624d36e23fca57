#include "canon/gray_permuts.h"

#include <algorithm>
#include <cassert>

namespace dlslab {

void BuildGraySwaps(TGrayPermuts& gray_permuts, int h) {
  assert(h >= 0);
  if (static_cast<int>(gray_permuts.size()) < h + 1) gray_permuts.resize(h + 1);
  TGrayPermutSwapItemsArr& swaps = gray_permuts[h];
  swaps.clear();
  // Positions 1..h; value[p] is the element there, left[p] its direction.
  std::vector<int> value(h + 2);
  std::vector<bool> left(h + 2, true);
  for (int p = 1; p <= h; ++p) value[p] = p;
  for (;;) {
    int mobile = 0;
    for (int p = 1; p <= h; ++p) {
      const bool is_mobile =
          left[p] ? p >= 2 && value[p - 1] < value[p] : p < h && value[p + 1] < value[p];
      if (is_mobile && (mobile == 0 || value[p] > value[mobile])) mobile = p;
    }
    if (mobile == 0) break;
    const int target = left[mobile] ? mobile - 1 : mobile + 1;
    const int moved = value[mobile];
    std::swap(value[mobile], value[target]);
    const bool dir = left[mobile];
    left[mobile] = left[target];
    left[target] = dir;
    swaps.push_back({std::min(mobile, target), std::max(mobile, target)});
    for (int p = 1; p <= h; ++p)
      if (value[p] > moved) left[p] = !left[p];
  }
}

}  // namespace dlslab
