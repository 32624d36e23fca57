#include "batch/generate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "model/ls_data_structs.h"

namespace dlslab::batch {
namespace {

std::vector<std::string> generate(std::uint64_t count, std::uint32_t seed, unsigned threads) {
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

// Squares of seeds 4294967000 (the first), 0 (the 297th: the seeds wrap past 2^32 - 1) and 3802
// (the last), as `dlslab-cli generate 1 --seed S` writes them.
constexpr const char* kFirst =
    "1578234690649570281371346852094360918725291685703487293604513257049186084219356756034219789081"
    "576342";
constexpr const char* kOfSeed0 =
    "3794218560420138695710796238459158472306564019728309267514382863540719831590467274328650916587"
    "039124";
constexpr const char* kLast =
    "8643521790543720691897061428533875914602159837026471246980350269457381605278314943810695272910"
    "835476";

// Square i is the one of seed S + i: past the first piece of work too (the generator hands out
// its squares in pieces of a few thousand), for any thread count.
TEST(generate_squares, WritesTheSquaresOfTheSeedsInOrderOnAnyThreadCount) {
  constexpr std::uint64_t kCount = 4099;  // two full pieces and a short one
  const std::vector<std::string> many = generate(kCount, 4294967000u, 3);
  ASSERT_EQ(many.size(), kCount);
  EXPECT_EQ(many[0], kFirst);
  EXPECT_EQ(many[296], kOfSeed0);
  EXPECT_EQ(many[kCount - 1], kLast);
  for (const std::string& line : many) {
    ASSERT_EQ(line.size(), 100u);
    ASSERT_TRUE(IsDiagonalLatin(StringToSquare(line))) << line;
  }
  EXPECT_GT(std::set<std::string>(many.begin(), many.end()).size(), kCount - 10);
  for (const unsigned threads : {1u, 2u}) {
    const std::vector<std::string> fewer = generate(2050, 4294967000u, threads);
    EXPECT_TRUE(std::equal(fewer.begin(), fewer.end(), many.begin())) << threads << " threads";
  }
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
