#include "model/bit_count.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace dlslab {
namespace {

static_assert(bit_count(0) == 0 && bit_count(~std::uint64_t{0}) == 64 && bit_count(0x3FF) == 10);

TEST(BitCount, CountsLikeTheStandardLibrary) {
  std::uint64_t x = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 1000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    for (const std::uint64_t v : {x, x & 0x3FF, x >> 63, x & (x >> 3), ~x})
      ASSERT_EQ(bit_count(v), std::popcount(v)) << v;
  }
}

}  // namespace
}  // namespace dlslab
