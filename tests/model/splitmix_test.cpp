#include "model/splitmix.h"

#include <gtest/gtest.h>

#include <array>

namespace dlslab {
namespace {

TEST(Splitmix, FollowsTheReferenceStream) {
  // splitmix64 from seed 0 as its authors' code gives it: the generators' squares rest on it.
  Splitmix random(0);
  EXPECT_EQ(random.next(), 0xE220A8397B1DCDAFull);
}

TEST(Splitmix, BelowStaysInTheRangeAndReachesAllOfIt) {
  Splitmix random(42);
  std::array<int, 7> seen{};
  for (int i = 0; i < 7000; ++i) {
    const std::uint32_t v = random.below(7);
    ASSERT_LT(v, 7u);
    ++seen[v];
  }
  for (const int count : seen) EXPECT_GT(count, 800);
}

}  // namespace
}  // namespace dlslab
