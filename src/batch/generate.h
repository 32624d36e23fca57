#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "model/types.h"

namespace dlslab::batch {

/// Hands `count` digit-string lines to `write`, square i (from 0) from the seed seed + i, in
/// that order whatever the number of threads. Stops early when write returns false or `stop`
/// becomes true; returns the number of lines written.
std::uint64_t generate_squares(std::uint64_t count, std::uint32_t seed, unsigned threads,
                               const std::function<bool(std::string_view)>& write,
                               const std::atomic<bool>& stop);

}  // namespace dlslab::batch
