#include "batch/square_generator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fill/random_search_v3.h"
#include "model/ls_data_structs.h"

namespace dlslab::batch {
namespace {

TEST(SquareGenerators, EveryGeneratorMakesTheSameDlsForASeedTwice) {
  std::set<std::string> names;
  for (const GeneratorInfo& info : square_generators()) {
    SCOPED_TRACE(std::string(info.name));
    EXPECT_TRUE(names.insert(std::string(info.name)).second) << "two generators of one name";
    EXPECT_EQ(find_square_generator(info.name), &info);
    const auto a = info.make();
    const auto b = info.make();
    for (const std::uint64_t seed : {std::uint64_t{0}, std::uint64_t{1}, info.seed_count - 1}) {
      TLatinSquare first(kOrder);
      TLatinSquare again(kOrder);
      a->square(seed, first);
      b->square(seed, again);
      EXPECT_EQ(first, again) << "seed " << seed;
      EXPECT_TRUE(IsDiagonalLatin(first) && IsFilled(first)) << SquareToString(first, false);
    }
  }
  EXPECT_EQ(find_square_generator("nonesuch"), nullptr);
}

TEST(SquareGenerators, Rsv3IsRandomSearchV3AfterSeeding) {
  const GeneratorInfo* rsv3 = find_square_generator("rsv3");
  ASSERT_NE(rsv3, nullptr);
  EXPECT_EQ(&square_generators().front(), rsv3);
  const auto generator = rsv3->make();
  TLatinSquare square(kOrder);
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    generator->square(seed, square);
    EXPECT_EQ(square, random_search_v3_square_baseline(seed)) << "seed " << seed;
  }
}

}  // namespace
}  // namespace dlslab::batch
