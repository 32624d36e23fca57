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
  RandSeed = 0xFFFFFFFFu;  // the product wraps round
  EXPECT_EQ(Random(1000), 968u);
  EXPECT_EQ(RandSeed, 4160191484u);
}

TEST(Random, AdvancesTheSeedAlsoForZero) {
  RandSeed = 7;
  EXPECT_EQ(Random(0), 0u);
  EXPECT_EQ(RandSeed, 943430692u);
}

TEST(Random, StaysBelowTheBound) {
  RandSeed = 12345;
  for (int i = 0; i < 10000; ++i) EXPECT_LT(Random(10), 10u);
}

}  // namespace
}  // namespace dlslab
