#include "fill/clue_sets.h"

#include <gtest/gtest.h>

#include "fill/fill_test_squares.h"
#include "fill/fillings.h"
#include "model/ls_data_structs.h"
#include "model/random.h"

namespace dlslab {
namespace {

// Clue sets of the DLS of each seed (test::random_dls), as the reductions give them when every
// tried cell is decided by a full count of its fillings; the random reduction starts from the
// seed * 1000 + 7 and leaves the generator at `seed_after`.
struct Reference {
  std::uint32_t seed;
  const char* random;
  std::uint32_t seed_after;
  const char* backward;
};

// clang-format off
const Reference kReferences[] = {
  {11, "-08--9--5-------9---06----5978--7-------5-2-7---0--4-------------6--90---4---32-31----6----968-21---", 227968537u,
       "6-8719-2--1-4085-76-061-2-5-7-257-6-04--53-17---0--49---2-------------------------------------------"},
  {22, "--02-5--3--63189--0---9541---2-----0---1-----78--9------0-4--08-6-----------68--5---9---1---1-2-----", 127944540u,
       "49-27516--7-3-8-420-0-95417-6-9367-0-4---1460-8----5----0-------6-----------------------------------"},
  {33, "-4---1-7----5-8976---7---8---3--7-326-1---6---4-21--0-1----6-3------5-2--3---80----------2---9--2-4-", 4085037697u,
       "-4265-3-8-1-5-89-63-67154-0---50743-6---396--04---9----------3--2-----2-----------------------------"},
  {44, "--2-5--78---3--195--0------9-52---760--3-5-8---4-93-----2---6-43------72---8----9---4------07-----9-", 3975721192u,
       "-92-53178--6-70-954-0--1274---245---081-15-8----7-3-9-------68--------------------------------------"},
  {55, "--260---------57--1----2------8-35-6-----509----2--4--2---0-6---1-7-5-7-8-------9-----14-50--3----4-", 1558263370u,
       "-82604-39-2068574---3142-065--82354--1--4509------54---------------------1-----------2--------------"},
};
// clang-format on

TEST(GetDominatingSetRandom, MatchesTheFullCountReduction) {
  for (const Reference& ref : kReferences) {
    const TLatinSquare dls = test::random_dls(ref.seed);
    RandSeed = ref.seed * 1000 + 7;
    const TLatinSquare clues = GetDominatingSetRandom(dls);
    EXPECT_EQ(SquareToString(clues, false), ref.random) << "seed " << ref.seed;
    EXPECT_EQ(RandSeed, ref.seed_after) << "seed " << ref.seed;
  }
}

TEST(GetDominatingSetBackward, MatchesTheFullCountReduction) {
  for (const Reference& ref : kReferences) {
    const TLatinSquare clues = GetDominatingSetBackward(test::random_dls(ref.seed));
    EXPECT_EQ(SquareToString(clues, false), ref.backward) << "seed " << ref.seed;
  }
}

/// A source without a filling, no clue clashing: a DLS with empty cells, one of them given
/// another value that fits it.
TLatinSquare without_filling(std::uint32_t seed) {
  const TLatinSquare dls = test::random_dls(seed);
  TLatinSquare sq = test::empty_cells(dls, 20, seed);
  for (int cell = 0; cell < 100; ++cell) {
    if (sq.data()[cell] >= 0) continue;
    for (const int v : TLatinSquareClass::GetCandidates(sq, cell / 10, cell % 10)) {
      if (v == dls.data()[cell]) continue;
      TLatinSquare trial = sq;
      trial.data()[cell] = v;
      if (GetFillingsCount(trial) == 0) return trial;
    }
  }
  ADD_FAILURE() << "no such cell";
  return sq;
}

// Sources where the shortcuts of the fast reductions do not hold: clashing clues (counts need
// not grow as cells are emptied) and no filling at all (a removal that leaves none proves
// nothing for later rounds); and plain DLS for the backward reduction.
TEST(GetDominatingSet, MatchesTheLiteralReductionOnEverySource) {
  TLatinSquare clash = test::random_dls(5);
  clash[0][0] = clash[0][1];
  std::vector<TLatinSquare> sources = {clash, without_filling(12), without_filling(17)};
  for (const TLatinSquare& sq : sources) ASSERT_TRUE(sq.order() == 10);
  for (std::size_t k = 0; k < sources.size(); ++k) {
    SCOPED_TRACE(k);
    for (std::uint32_t seed : {1u, 9u}) {
      RandSeed = seed;
      const TLatinSquare fast = GetDominatingSetRandom(sources[k]);
      const std::uint32_t fast_after = RandSeed;
      RandSeed = seed;
      EXPECT_EQ(get_dominating_set_random_baseline(sources[k]), fast) << "seed " << seed;
      EXPECT_EQ(RandSeed, fast_after);
    }
  }
  for (const std::uint32_t seed : {3u, 30u}) sources.push_back(test::random_dls(seed));
  for (std::size_t k = 0; k < sources.size(); ++k) {
    EXPECT_EQ(SquareToString(GetDominatingSetBackward(sources[k]), false),
              SquareToString(get_dominating_set_backward_baseline(sources[k]), false))
        << k;
  }
}

TEST(GetDominatingSetRandom, EveryClueIsNeeded) {
  for (std::uint32_t seed = 100; seed < 104; ++seed) {
    const TLatinSquare dls = test::random_dls(seed);
    RandSeed = seed;
    for (const TLatinSquare& clues : {GetDominatingSetRandom(dls), GetDominatingSetBackward(dls)}) {
      ASSERT_EQ(GetFirstFilling(clues), dls);
      ASSERT_TRUE(has_one_filling(clues));
      for (int cell = 0; cell < 100; ++cell) {
        if (clues.data()[cell] < 0) continue;
        TLatinSquare less = clues;
        less.data()[cell] = kEmpty;
        EXPECT_EQ(count_fillings_up_to(less, 2), 2u) << "seed " << seed << " cell " << cell;
      }
    }
  }
}

TEST(GetDominatingSetRandom, EmptySquareEndsAtOnceWithoutDrawing) {
  RandSeed = 42;
  const TLatinSquare clues = GetDominatingSetRandom(TLatinSquare(10));
  EXPECT_EQ(GetFilledCellsCount(clues), 0);
  EXPECT_EQ(RandSeed, 42u);
  EXPECT_EQ(GetFilledCellsCount(GetDominatingSetBackward(TLatinSquare(10))), 0);
}

}  // namespace
}  // namespace dlslab
