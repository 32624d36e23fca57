// Test program of the "ODLS of order 10 search (DLX v2)" benchmark: makes 5000 diagonal Latin
// squares of order 10 by randomised filling from a fixed seed, the way "Random search v3" does
// (fillings repeated until one completes), and searches the orthogonal diagonal mates of each
// by the exact-cover route: the diagonal transversals as one exact cover, the partitions of
// the cells into ten of them as another. Prints one line, the squares searched, the mates
// found, a checksum of the mates and the seconds taken, and exits 0. The benchmark starts it
// without arguments; the tests give a smaller square count as the one optional argument.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cover/odls.h"
#include "fill/heuristic_fill.h"
#include "model/latin_square_class.h"
#include "model/random.h"

namespace {

constexpr int kSquares = 5000;
constexpr int kMaxAttempts = 1000;
constexpr std::uint32_t kSeed = 20151001;

}  // namespace

int main(int argc, char** argv) {
  using namespace dlslab;
  const int squares = argc > 1 ? std::atoi(argv[1]) : kSquares;
  const auto start = std::chrono::steady_clock::now();
  TLatinSquareClass model;
  model.SetOrder(kOrder);
  RandSeed = kSeed;
  OdlsSearch search;
  std::uint64_t mates = 0;
  std::uint64_t checksum = 0;
  int searched = 0;
  while (searched < squares) {
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
      RandomFillV2(model);
      if (model.GetEmptyCellsCount() == 0) break;
    }
    if (model.GetEmptyCellsCount() != 0) continue;
    const TOrthogonalSquares found = search.GetOdlsByDlx(model.FirstSquare);
    ++searched;
    mates += static_cast<std::uint64_t>(found.Count());
    for (const TLatinSquare& mate : found.Squares) {
      for (int c = 0; c < mate.size(); ++c)
        checksum = checksum * 1099511628211u + static_cast<std::uint64_t>(mate.data()[c] + 1);
    }
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("runb10: %d squares searched, %llu mates, checksum %016llx, %.3f s\n", searched,
              static_cast<unsigned long long>(mates), static_cast<unsigned long long>(checksum),
              seconds.count());
  return 0;
}
