#include "fill/random_search_v3.h"

#include "fill/heuristic_fill.h"
#include "fill/rsv3_kernels.h"
#include "model/latin_square_class.h"
#include "model/random.h"

namespace dlslab {

namespace rsv3_kernels {

SquareFn square_on(IsaPath path) {
  switch (path) {
    case IsaPath::kAvx512Vp2i:
    case IsaPath::kAvx512:
      return avx512::square;
    case IsaPath::kAvx2:
      return avx2::square;
    case IsaPath::kScalar:
      break;
  }
  return scalar::square;
}

}  // namespace rsv3_kernels

TLatinSquare random_search_v3_square(std::uint32_t seed, IsaPath path) {
  TLatinSquare square(kOrder);
  rsv3_kernels::square_on(path)(seed, square.data());
  RandSeed = seed;
  return square;
}

TLatinSquare random_search_v3_square_baseline(std::uint32_t seed) {
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  RandSeed = seed;
  do {
    RandomFillV2(model);
  } while (model.GetEmptyCellsCount() != 0);
  return model.FirstSquare;
}

}  // namespace dlslab
