#include "batch/generate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "fill/random_search_v3.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab {
namespace {

TEST(generate_squares, WritesTheEngineSquaresInSeedOrderOnAnyThreadCount) {
  const std::atomic<bool> stop{false};
  for (const unsigned threads : {1u, 2u}) {
    std::string text;
    const std::uint64_t written = batch::generate_squares(
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

namespace dlslab::batch {
namespace {

std::vector<std::string> Generate(std::uint64_t count, std::uint32_t seed, unsigned threads) {
  std::vector<std::string> lines;
  const std::atomic<bool> stop{false};
  const std::uint64_t written = generate_squares(
      count, seed, threads,
      [&lines](std::string_view text) {
        for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1)
          lines.emplace_back(text.substr(at, text.find('\n', at) - at));
        return true;
      },
      stop);
  EXPECT_EQ(written, count);
  return lines;
}

// Square i is the one "Random search v3" fills from seed S + i: past the first piece of work
// too (the generator hands out its squares in pieces of a few thousand), for any thread count.
TEST(generate_squares, SquareIIsRandomSearchV3FromSeedSPlusI) {
  constexpr std::uint64_t kCount = 4099;        // two full pieces and a short one
  constexpr std::uint32_t kSeed = 4294967000u;  // the seeds wrap round past 2^32 - 1
  const std::vector<std::string> many = Generate(kCount, kSeed, 3);
  ASSERT_EQ(many.size(), kCount);
  for (const std::uint64_t i : {0u, 1u, 295u, 296u, 2047u, 2048u, 2049u, 4095u, 4096u, 4098u}) {
    EXPECT_EQ(many[i],
              SquareToString(test::RandomDls(kSeed + static_cast<std::uint32_t>(i)), false))
        << i;
  }
  const std::vector<std::string> one = Generate(2050, kSeed, 1);
  EXPECT_TRUE(std::equal(one.begin(), one.end(), many.begin()));
}

TEST(generate_squares, StopsWhenTheWriterRefusesOrAStopIsRequested) {
  int calls = 0;
  const std::atomic<bool> stop{false};
  EXPECT_EQ(generate_squares(
                10, 1, 2, [&calls](std::string_view) { return ++calls > 1; }, stop),
            0u);
  EXPECT_EQ(calls, 1);
  const std::atomic<bool> stopped{true};
  EXPECT_EQ(generate_squares(
                10, 1, 2, [](std::string_view) { return true; }, stopped),
            0u);
}

}  // namespace
}  // namespace dlslab::batch
