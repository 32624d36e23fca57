#pragma once

#include <cstdint>

#include "model/types.h"

// The `brown` generator: random DLS of order 10 with the symmetry of Brown's squares, which have
// orthogonal diagonal mates far more often than DLS drawn at random.
namespace dlslab {

/// The pairing of the rows: row kBrownRowPair[i] is row i with every value v read as 9 - v.
inline constexpr int kBrownRowPair[kOrder] = {3, 4, 8, 0, 1, 6, 5, 9, 2, 7};

/// A DLS S of order 10 with S[i][9 - j] = 9 - S[i][j] (each row mirrored is its complement) and
/// S[kBrownRowPair[i]][j] = 9 - S[i][j], filled at random from `seed`: the same square for the
/// same seed on every machine.
[[nodiscard]] TLatinSquare brown_dls_square(std::uint64_t seed);

}  // namespace dlslab
