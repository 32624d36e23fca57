#pragma once

#include <cstdint>

namespace dlslab {

/// Seed of the linear congruential generator; 0 at start. Each thread has its own, so batch
/// work on several threads draws independent, reproducible sequences.
inline thread_local std::uint32_t RandSeed = 0;

/// Advances the seed (seed * 134775813 + 1 mod 2^32) and returns a value in 0..n-1
/// (the high 32 bits of n * seed). The seed advances also for n = 0.
inline std::uint32_t Random(std::uint32_t n) {
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * RandSeed) >> 32);
}

/// Seeds the generator from the low 32 bits of a high-resolution clock.
void Randomize();

}  // namespace dlslab
