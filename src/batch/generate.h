#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "model/types.h"

namespace dlslab::batch {

/// The DLS of order 10 that "Random search v3" fills with the generator seeded to `seed`; when
/// its thousand attempts all fail, the attempts go on with the seed as it stands.
[[nodiscard]] TLatinSquare RandomSearchV3Square(std::uint32_t seed);

/// Hands `count` digit-string lines to `write`, square i (from 0) from the seed seed + i, in
/// that order whatever the number of threads. Stops early when write returns false or `stop`
/// becomes true; returns the number of lines written.
std::uint64_t GenerateSquares(std::uint64_t count, std::uint32_t seed, unsigned threads,
                              const std::function<bool(std::string_view)>& write,
                              const std::atomic<bool>& stop);

}  // namespace dlslab::batch
