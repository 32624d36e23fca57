#include "fill/random_search_v3.h"

#include <gtest/gtest.h>

#include <vector>

#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/isa_path.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab {
namespace {

/// Fixed seeds: the first few hundred, and some scattered over the whole range.
std::vector<std::uint32_t> test_seeds() {
  std::vector<std::uint32_t> seeds;
  for (std::uint32_t s = 0; s < 300; ++s) seeds.push_back(s);
  for (std::uint32_t s = 1; s < 200; ++s) seeds.push_back(s * 2654435761u);
  seeds.push_back(0xFFFFFFFFu);
  return seeds;
}

TEST(RandomSearchV3Square, EveryPathMatchesTheBaselineSquareAndSeed) {
  for (const std::uint32_t seed : test_seeds()) {
    const TLatinSquare plain = random_search_v3_square_baseline(seed);
    const std::uint32_t plain_after = RandSeed;
    ASSERT_EQ(GetEmptyCellsCount(plain), 0);
    ASSERT_TRUE(IsDiagonalLatin(plain));
    for (const IsaPath path : supported_isa_paths()) {
      RandSeed = 42;
      const TLatinSquare fast = random_search_v3_square(seed, path);
      ASSERT_EQ(fast, plain) << isa_path_name(path) << " seed " << seed;
      ASSERT_EQ(RandSeed, plain_after) << isa_path_name(path) << " seed " << seed;
    }
  }
}

TEST(RandomSearchV3Square, IsTheSquareOfTheMenuCommandAfterSeeding) {
  // The command counts its attempts: the seed after the square tells how many it made.
  for (std::uint32_t seed = 1000; seed < 1040; ++seed) {
    cmd::Context ctx;
    RandSeed = seed;
    cmd::RandomSearchV3MenuItemClick(ctx);
    const std::uint32_t after = RandSeed;
    ASSERT_EQ(random_search_v3_square(seed), ctx.model.FirstSquare) << "seed " << seed;
    EXPECT_EQ(RandSeed, after);
    ASSERT_FALSE(ctx.log.lines().empty());
    EXPECT_EQ(ctx.log.lines().back().rfind("Random search v3: square was filled from ", 0), 0u);
  }
}

}  // namespace
}  // namespace dlslab
