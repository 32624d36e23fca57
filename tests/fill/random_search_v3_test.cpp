#include "fill/random_search_v3.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/generate.h"
#include "cmd/context.h"
#include "cmd/fill_commands.h"
#include "model/isa_path.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab {
namespace {

/// Fixed seeds: the first few hundred, and some scattered over the whole range.
std::vector<std::uint32_t> Seeds() {
  std::vector<std::uint32_t> seeds;
  for (std::uint32_t s = 0; s < 300; ++s) seeds.push_back(s);
  for (std::uint32_t s = 1; s < 200; ++s) seeds.push_back(s * 2654435761u);
  seeds.push_back(0xFFFFFFFFu);
  return seeds;
}

TEST(RandomSearchV3Square, EveryPathMatchesTheBaselineSquareAndSeed) {
  for (const std::uint32_t seed : Seeds()) {
    const TLatinSquare plain = random_search_v3_square_baseline(seed);
    const std::uint32_t plain_after = RandSeed;
    ASSERT_EQ(GetEmptyCellsCount(plain), 0);
    ASSERT_TRUE(IsDiagonalLatin(plain));
    for (const IsaPath path : SupportedIsaPaths()) {
      RandSeed = 42;
      const TLatinSquare fast = random_search_v3_square(seed, path);
      ASSERT_EQ(fast, plain) << IsaPathName(path) << " seed " << seed;
      ASSERT_EQ(RandSeed, plain_after) << IsaPathName(path) << " seed " << seed;
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

TEST(GenerateSquares, WritesTheEngineSquaresInSeedOrderOnAnyThreadCount) {
  const std::atomic<bool> stop{false};
  for (const unsigned threads : {1u, 2u}) {
    std::string text;
    const std::uint64_t written = batch::GenerateSquares(
        3000, 4000000000u, threads,
        [&](std::string_view chunk) {
          text += chunk;
          return true;
        },
        stop);
    ASSERT_EQ(written, 3000u);
    ASSERT_EQ(text.size(), 3000u * 101);
    // The seeds run past 2^32 and wrap.
    for (const std::uint64_t i : {0ull, 1ull, 2047ull, 2048ull, 2999ull}) {
      const auto seed = static_cast<std::uint32_t>(4000000000ull + i);
      EXPECT_EQ(text.substr(i * 101, 100),
                SquareToString(random_search_v3_square_baseline(seed), false))
          << "square " << i;
    }
  }
}

}  // namespace
}  // namespace dlslab
