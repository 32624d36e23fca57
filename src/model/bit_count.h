#pragma once

#include <bit>
#include <cstdint>

namespace dlslab {

/// The number of set bits. A build for processors with the popcount instruction uses it; the
/// portable build counts in registers rather than calling the compiler's library routine,
/// which the baseline instruction set would otherwise need.
[[nodiscard]] constexpr int bit_count(std::uint64_t x) {
#if defined(__POPCNT__) || !(defined(__x86_64__) || defined(__i386__))
  return std::popcount(x);
#else
  x = x - ((x >> 1) & 0x5555555555555555u);
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
#endif
}

}  // namespace dlslab
