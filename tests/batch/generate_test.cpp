#include "batch/generate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "fill/random_search_v3.h"
#include "model/ls_data_structs.h"

namespace dlslab {
namespace {

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
