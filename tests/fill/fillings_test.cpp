#include "fill/fillings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "fill/clue_sets.h"
#include "fill/fill_kernels.h"
#include "fill/fill_test_squares.h"
#include "model/diagnostics.h"
#include "model/latin_square_class.h"
#include "model/ls_data_structs.h"
#include "test_squares.h"

namespace dlslab {
namespace {

std::uint64_t plain_count(const TLatinSquare& square) {
  return FillingsSearch().GetFillingsCount(square);
}

TEST(GetFillingsCount, CompleteSquareHasOneFillingValidOrNot) {
  const TLatinSquare valid = StringToSquare(test::kBachelor);
  TLatinSquare fives(10);
  std::fill(fives.data(), fives.data() + 100, 5);
  for (const TLatinSquare& sq : {valid, fives}) {
    EXPECT_EQ(GetFillingsCount(sq), 1u);
    EXPECT_EQ(plain_count(sq), 1u);
    EXPECT_TRUE(has_one_filling(sq));
  }
}

// The counting search orders and prunes differently from the plain search; both must find
// the same completions on squares with few and with many of them.
TEST(GetFillingsCount, MatchesThePlainCount) {
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    const TLatinSquare dls = test::random_dls(seed);
    for (const int empty : {20, 40, 52}) {
      const TLatinSquare sq = test::empty_cells(dls, empty, seed * 31 + empty);
      const std::uint64_t plain = plain_count(sq);
      ASSERT_EQ(GetFillingsCount(sq), plain) << "seed " << seed << " empty " << empty;
      EXPECT_EQ(count_fillings_up_to(sq, 2), std::min<std::uint64_t>(plain, 2));
      EXPECT_EQ(has_one_filling(sq), plain == 1);
    }
  }
}

// Every instruction-set path counts the same as the plain search, up to a limit and in full,
// on clue sets with one filling, with a few and with none, clashing clues included.
TEST(CountFillingsUpTo, EveryPathCountsLikeThePlainSearch) {
  std::vector<std::pair<TLatinSquare, std::uint64_t>> cases;
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    const TLatinSquare dls = test::random_dls(seed);
    for (const int empty : {30, 50, 66}) {
      TLatinSquare sq = test::empty_cells(dls, empty, seed * 17 + empty);
      if (seed % 4 == 0) sq[7][seed % 10] = sq[7][(seed + 3) % 10];  // clashes (or empties)
      cases.emplace_back(sq, plain_count(sq));
    }
  }
  ASSERT_TRUE(std::any_of(cases.begin(), cases.end(), [](const auto& c) { return c.second > 20; }));
  ASSERT_TRUE(std::any_of(cases.begin(), cases.end(), [](const auto& c) { return c.second == 1; }));
  for (const IsaPath path : supported_isa_paths()) {
    SCOPED_TRACE(isa_path_name(path));
    for (const auto& [sq, plain] : cases) {
      EXPECT_EQ(count_fillings_up_to(sq, UINT64_MAX, path), plain) << SquareToString(sq, false);
      EXPECT_EQ(count_fillings_up_to(sq, 2, path), std::min<std::uint64_t>(plain, 2));
    }
  }
}

// The clue sets the reductions end with: one filling on every path, and two or more as soon as
// any clue is taken away (every path counts those alike, up to the limit and in full).
TEST(CountFillingsUpTo, EveryPathFindsFinalClueSetsUniqueAndEveryClueNeeded) {
  for (std::uint32_t seed = 200; seed < 203; ++seed) {
    const TLatinSquare dls = test::random_dls(seed);
    RandSeed = seed;
    const TLatinSquare clues = GetDominatingSetRandom(dls);
    for (const IsaPath path : supported_isa_paths()) {
      SCOPED_TRACE(isa_path_name(path));
      EXPECT_EQ(count_fillings_up_to(clues, 1, path), 1u);
      EXPECT_EQ(count_fillings_up_to(clues, 2, path), 1u);
      EXPECT_EQ(count_fillings_up_to(clues, UINT64_MAX, path), 1u);
    }
    for (int cell = 0; cell < 100; ++cell) {
      if (clues.data()[cell] < 0) continue;
      TLatinSquare less = clues;
      less.data()[cell] = kEmpty;
      const std::uint64_t all = count_fillings_up_to(less, UINT64_MAX, IsaPath::kScalar);
      ASSERT_GE(all, 2u) << "seed " << seed << " cell " << cell;
      for (const IsaPath path : supported_isa_paths()) {
        EXPECT_EQ(count_fillings_up_to(less, 2, path), 2u) << isa_path_name(path) << " cell " << cell;
        EXPECT_EQ(count_fillings_up_to(less, UINT64_MAX, path), all)
            << isa_path_name(path) << " cell " << cell;
      }
    }
  }
}

// A count that leaves one value out of one cell, on every path, against the plain counts: all
// the fillings less those with that value there.
TEST(CountFillingsUpTo, EveryPathLeavesAValueOutOfACell) {
  std::uint64_t several = 0;
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    const TLatinSquare sq = test::empty_cells(test::random_dls(seed), 58, seed * 5);
    const std::uint64_t all = plain_count(sq);
    for (int cell = 3; cell < 100; cell += 9) {
      if (sq.data()[cell] >= 0) continue;
      const TElemsArr candidates = TLatinSquareClass::GetCandidates(sq, cell / 10, cell % 10);
      for (const int v : candidates) {
        TLatinSquare fixed = sq;
        fixed.data()[cell] = v;
        const std::uint64_t without = all - plain_count(fixed);
        several += without > 1 ? 1 : 0;
        for (const IsaPath path : supported_isa_paths()) {
          const fill_kernels::CountFn count = kernel_for(fill_kernels::kCounts, path);
          EXPECT_EQ(count(sq, UINT64_MAX, false, cell, v), without)
              << isa_path_name(path) << " seed " << seed << " cell " << cell << " value " << v;
          EXPECT_EQ(count(sq, 1, false, cell, v), std::min<std::uint64_t>(without, 1));
        }
      }
    }
  }
  EXPECT_GT(several, 10u);
}

// Clashing clues are searched all the same: new cells only avoid the values already used.
TEST(GetFillingsCount, ClashingCluesOnlyTakeValuesAway) {
  std::uint64_t nonzero = 0;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    TLatinSquare sq = test::empty_cells(test::random_dls(seed), 30, seed);
    // Copy a clue of row 4 onto another filled cell of the same row.
    int* row = sq[4];
    int* from = std::find_if(row, row + 10, [](int v) { return v >= 0; });
    int* to = std::find_if(from + 1, row + 10, [](int v) { return v >= 0; });
    ASSERT_NE(to, row + 10);
    *to = *from;
    const std::uint64_t plain = plain_count(sq);
    nonzero += plain;
    ASSERT_EQ(GetFillingsCount(sq), plain) << "seed " << seed;
    EXPECT_EQ(count_fillings_up_to(sq, 2), std::min<std::uint64_t>(plain, 2));
  }
  EXPECT_GT(nonzero, 0u);
}

TEST(GetFillingsCount, ReportsSpeedEveryHundredThousandFillings) {
  TLatinSquare sq = test::random_dls(777);
  for (int i = 43; i < 100; ++i) sq.data()[i] = kEmpty;
  sq.data()[40] = kEmpty;
  std::ostringstream diag;
  std::uint64_t count = 0;
  {
    const ScopedDiagStream to(&diag);
    count = GetFillingsCount(sq);
  }
  EXPECT_EQ(count, 186549u);
  const std::regex report(
      "\nSquares cnt: 100000\nAverage time: [0-9]+\\.[0-9]{4} ms per square\n"
      "Squares per second: [0-9]+\n"
      "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\n\n");
  EXPECT_TRUE(std::regex_match(diag.str(), report)) << diag.str();
}

/// The DLS of seed 777 with its last 57 cells emptied: 51112 fillings.
TLatinSquare many_fillings() {
  TLatinSquare sq = test::random_dls(777);
  for (int i = 43; i < 100; ++i) sq.data()[i] = kEmpty;
  return sq;
}

TEST(GetFillingsCount, MatchesThePlainCountOnManyFillings) {
  const TLatinSquare sq = many_fillings();
  EXPECT_EQ(GetFillingsCount(sq), 51112u);
  EXPECT_EQ(plain_count(sq), 51112u);
}

TEST(HasFillingWithout, FindsOnlyFillingsWithAnotherValue) {
  const TLatinSquare dls = test::random_dls(8);
  TLatinSquare unique = dls;
  unique[2][3] = kEmpty;
  EXPECT_FALSE(has_filling_without(unique, 2, 3, dls[2][3]));
  EXPECT_TRUE(has_filling_without(unique, 2, 3, (dls[2][3] + 1) % 10));
  // Against the counts: fillings with another value = all - those with that value (none
  // when the value is no candidate of the cell).
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    const TLatinSquare sq = test::empty_cells(test::random_dls(seed), 62, seed);
    const std::uint64_t all = GetFillingsCount(sq);
    for (int cell = 0; cell < 100; cell += 7) {
      if (sq.data()[cell] >= 0) continue;
      const TElemsArr candidates = TLatinSquareClass::GetCandidates(sq, cell / 10, cell % 10);
      for (int v = 0; v < 10; ++v) {
        TLatinSquare fixed = sq;
        fixed.data()[cell] = v;
        const bool candidate =
            std::find(candidates.begin(), candidates.end(), v) != candidates.end();
        const bool other = all - (candidate ? GetFillingsCount(fixed) : 0) > 0;
        ASSERT_EQ(has_filling_without(sq, cell / 10, cell % 10, v), other)
            << "seed " << seed << " cell " << cell << " value " << v;
      }
    }
  }
}

TEST(GetFirstFilling, FillsTheMainDiagonalFirstInAscendingOrder) {
  const TLatinSquare first = GetFirstFilling(TLatinSquare(10));
  EXPECT_TRUE(IsFilled(first));
  EXPECT_TRUE(IsDiagonalLatin(first));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(first[i][i], i);
}

TEST(GetFirstFilling, KeepsTheCluesOfASquareWithoutFilling) {
  const TLatinSquare dls = test::random_dls(6);
  TLatinSquare sq = test::empty_cells(dls, 25, 6);
  // Give the value of an empty cell to a clue of its row: the cell is left without a value.
  int r = 0;
  while (sq[r][0] >= 0) ++r;
  int c = 1;
  while (sq[r][c] < 0) ++c;
  sq[r][c] = dls[r][0];
  ASSERT_EQ(GetFillingsCount(sq), 0u);
  EXPECT_EQ(GetFirstFilling(sq), sq);
}

}  // namespace
}  // namespace dlslab
