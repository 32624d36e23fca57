#pragma once

#include <cstdint>

namespace dlslab {

/// splitmix64 (Steele, Lea and Flood): a stream of 64-bit values that its seed names on every
/// machine, the random source of our own generators.
class Splitmix {
 public:
  explicit Splitmix(std::uint64_t seed) : state_(seed) {}

  /// The next value of the stream.
  std::uint64_t next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  /// A value in 0..n-1: the high 32 bits of the next value, scaled by n.
  std::uint32_t below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32);
  }

 private:
  std::uint64_t state_;
};

}  // namespace dlslab
