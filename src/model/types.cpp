#include "model/types.h"

#include <algorithm>

namespace dlslab {

void TLatinSquare::Resize(int n, int fill) {
  assert(n >= 0 && n <= kMaxOrder);
  std::array<int, kMaxOrder* kMaxOrder> old = cells_;
  const int old_n = n_;
  cells_.fill(fill);
  const int keep = std::min(old_n, n);
  for (int r = 0; r < keep; ++r)
    for (int c = 0; c < keep; ++c) cells_[r * n + c] = old[r * old_n + c];
  n_ = n;
}

}  // namespace dlslab
