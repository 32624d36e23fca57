#include "model/random.h"

#include <gtest/gtest.h>

namespace dlslab {
namespace {

TEST(Random, FollowsTheLinearCongruentialSequence) {
  RandSeed = 0;
  EXPECT_EQ(Random(256), 0u);  // seed 1: 256 * 1 >> 32
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_EQ(Random(256), 8u);  // seed 134775814
  EXPECT_EQ(RandSeed, 134775814u);
  RandSeed = 0xFFFFFFFFu;
  const std::uint32_t expected_seed = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(Random(1000), static_cast<std::uint32_t>((1000ull * expected_seed) >> 32));
}

TEST(Random, AdvancesTheSeedAlsoForZero) {
  RandSeed = 7;
  EXPECT_EQ(Random(0), 0u);
  EXPECT_EQ(RandSeed, 7u * 134775813u + 1u);
}

TEST(Random, StaysBelowTheBound) {
  RandSeed = 12345;
  for (int i = 0; i < 10000; ++i) EXPECT_LT(Random(10), 10u);
}

}  // namespace
}  // namespace dlslab
