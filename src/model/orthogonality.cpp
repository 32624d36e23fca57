#include "model/orthogonality.h"

#include <array>

namespace dlslab {

int OrthogonalityDefect(const TLatinSquare& a, const TLatinSquare& b) {
  assert(a.order() >= kOrder && b.order() >= kOrder);
  std::array<bool, kOrder * kOrder> seen{};
  for (int r = 0; r < kOrder; ++r) {
    for (int c = 0; c < kOrder; ++c) {
      const int x = a[r][c];
      const int y = b[r][c];
      if (x < 0 || y < 0) continue;
      const int index = kOrder * x + y;
      if (index < kOrder * kOrder) seen[index] = true;
    }
  }
  int missing = 0;
  for (const bool s : seen) missing += s ? 0 : 1;
  return missing;
}

}  // namespace dlslab
